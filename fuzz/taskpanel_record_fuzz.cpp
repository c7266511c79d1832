// The task panel's clipboard form from arbitrary bytes, as another program may leave it under
// "TaskPanelGroupItem": the class record (only classes deriving from the element are made), then an
// element's, a group's or a group item's properties. A bad record gives no element and leaks nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/taskpanel/tp_clip_record.h"
#include "toolkit/taskpanel/tp_props.h"

class FuzzElement : public CObject {
  DECLARE_SERIAL(FuzzElement)
 public:
  taskpanel::ElementProps element;
};
IMPLEMENT_SERIAL(FuzzElement, CObject, 16)

class FuzzGroup : public FuzzElement {
  DECLARE_SERIAL(FuzzGroup)
 public:
  taskpanel::GroupProps group;
};
IMPLEMENT_SERIAL(FuzzGroup, FuzzElement, 16)

class FuzzItem : public FuzzElement {
  DECLARE_SERIAL(FuzzItem)
 public:
  taskpanel::GroupItemProps item;
};
IMPLEMENT_SERIAL(FuzzItem, FuzzElement, 16)

class FuzzStranger : public CObject {
  DECLARE_SERIAL(FuzzStranger)
};
IMPLEMENT_SERIAL(FuzzStranger, CObject, 16)

namespace {

void Exchange(CObject* pObject, CTKPPropExchange* pPX) {
  auto* element = static_cast<FuzzElement*>(pObject);
  taskpanel::ExchangeElementProps(pPX, element->element);
  if (auto* group = dynamic_cast<FuzzGroup*>(pObject)) taskpanel::ExchangeGroupProps(pPX, group->group);
  if (auto* item = dynamic_cast<FuzzItem*>(pObject)) taskpanel::ExchangeGroupItemProps(pPX, item->item);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CObject* pObject = taskpanel::LoadRecord(data, size, RUNTIME_CLASS(FuzzElement), Exchange,
                                           [](CObject* p) { delete p; });
  if (pObject != nullptr) {
    // Whatever was read is a whole element that stores again.
    if (!pObject->IsKindOf(RUNTIME_CLASS(FuzzElement))) std::abort();
    if (taskpanel::StoreRecord(pObject, Exchange).empty()) std::abort();
    delete pObject;
  }
  return 0;
}
