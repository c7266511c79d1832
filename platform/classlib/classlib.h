// The portable part of the class library in one include: objects, strings, geometry, collections,
// files and archives. The Windows-only pieces have their own headers (csharedfile.h, resource_win32.h).
#pragma once

#include "platform/classlib/carchive.h"
#include "platform/classlib/carray.h"
#include "platform/classlib/cexception.h"
#include "platform/classlib/cfile.h"
#include "platform/classlib/clist.h"
#include "platform/classlib/cmap.h"
#include "platform/classlib/cmemfile.h"
#include "platform/classlib/cobject.h"
#include "platform/classlib/crect.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/cltypes.h"
