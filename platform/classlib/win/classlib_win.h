// The Windows part of the class library in one include: command targets and message maps, windows,
// threads and the application (with the portable part, classlib.h).
#pragma once

#include "platform/classlib/classlib.h"
#include "platform/classlib/win/ccmdtarget.h"
#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/cwinapp.h"
#include "platform/classlib/win/cwinthread.h"
#include "platform/classlib/win/cwnd.h"
#include "platform/classlib/win/messages.h"
#include "platform/classlib/win/msgmap.h"
#include "platform/classlib/win/threadstate.h"
