#include "engine/records/scan_control.h"

ScanCountersRecord ScanCounters;
ScanThreadControlRecord ScanThreadControl;
