// The clipboard form of a task panel element ("TaskPanelGroupItem"): the element's class record, then
// its properties through an archive exchange. Another program can put anything under that name, so
// reading trusts nothing: the class must be one of ours deriving from the expected base, and any
// failure gives no element.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "platform/classlib/cobject.h"
#include "toolkit/common/tkp_prop_exchange.h"

namespace taskpanel {

// Exchanges the object's properties (storing or loading, as the exchange says).
using RecordExchange = std::function<void(CObject*, CTKPPropExchange*)>;
// Frees an object that could not be read (reference-counted objects are released, not deleted).
using RecordDiscard = std::function<void(CObject*)>;

// The record of the object; empty when its class cannot be stored (it is not serialisable).
std::vector<BYTE> StoreRecord(CObject* pObject, const RecordExchange& exchange);

// A new object of the record's class, or null when the data is not a whole record of a class that
// derives from pBase (the class is checked before anything is created).
CObject* LoadRecord(const BYTE* data, std::size_t size, const CRuntimeClass* pBase, const RecordExchange& exchange,
                    const RecordDiscard& discard);

}  // namespace taskpanel
