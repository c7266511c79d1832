#include "app/results/result_columns.h"

#include "engine/records/scan_parameters.h"

namespace results {

const std::vector<ResultColumn>& ResultColumnsFor(uint32_t mode) {
  static const std::vector<ResultColumn> fileTrace = {{u"File Name", 200}, {u"Type", 100}, {u"ID", 150}};
  static const std::vector<ResultColumn> fileSystem = {{u"File Name", 200},     {u"Type", 100},
                                                       {u"Size", 100},          {u"Creation Time", 150},
                                                       {u"Modification Time", 150}, {u"ID", 150}};
  return mode == records::kFileTrace ? fileTrace : fileSystem;
}

}  // namespace results
