// An Extensive Scan and the reading of one file system it found, run headless as the scan page and page 3
// run them. Shared by the driver's modes that take --choose.
#pragma once

#include "tools/enginectl/headless_scan.h"

// What the scan page's Next writes for an Extensive Scan once ScanRange holds the range: the mode, the end
// sector (start + count), and the lists of the last Extensive Scan freed.
void PrepareExtensiveScan();

// The Extensive Scan of ScanRange, until both analysis passes are done.
ScanOutcome RunExtensiveScan(HeadlessScan& scan);

// RunExtensiveScan, then page 3's Next for the found file system `number` (from 1): CurrentFileSystem
// becomes that record with the number as its id, the scan record lists are freed, and ScanThreadProc runs.
// kAbandoned, with the reason printed, when the scan found no such file system.
ScanOutcome ReadFoundFileSystem(HeadlessScan& scan, unsigned long long number);
