#include "platform/standins/dao_memory_engine.h"

#include <algorithm>

namespace {

[[noreturn]] void Fail(LPCTSTR why) { throw new CDaoException(why); }

class MemoryRecords : public DaoRecords {
 public:
  explicit MemoryRecords(const MemoryTable& table) : m_table(table) {}
  bool IsEOF() override { return m_row >= m_table.rows.size(); }
  int GetFieldCount() override { return static_cast<int>(m_table.fields.size()); }
  COleVariant GetFieldValue(int index) override {
    if (IsEOF()) Fail(_T("No current record."));
    const std::vector<COleVariant>& row = m_table.rows[m_row];
    if (index < 0 || static_cast<size_t>(index) >= row.size()) Fail(_T("Item not found in this collection."));
    return row[static_cast<size_t>(index)];
  }
  void MoveNext() override {
    if (IsEOF()) Fail(_T("No current record."));
    ++m_row;
  }

 private:
  MemoryTable m_table;  // a snapshot: deleting the table does not pull it from under the walk
  size_t m_row = 0;
};

class MemoryConnection : public DaoConnection {
 public:
  explicit MemoryConnection(MemoryDatabase& database) : m_db(database) {}
  int GetTableDefCount() override { return static_cast<int>(m_db.tables.size()); }
  CDaoTableDefInfo GetTableDefInfo(int index) override {
    const MemoryTable& table = At(m_db.tables, index);
    return {table.name, table.attributes};
  }
  int GetQueryDefCount() override { return static_cast<int>(m_db.queries.size()); }
  CDaoQueryDefInfo GetQueryDefInfo(int index) override { return At(m_db.queries, index); }
  int GetRelationCount() override { return static_cast<int>(m_db.relations.size()); }
  CDaoRelationInfo GetRelationInfo(int index) override { return At(m_db.relations, index); }
  void DeleteTableDef(const CString& name) override { Erase(m_db.tables, name, [](const MemoryTable& t) { return t.name; }); }
  void DeleteQueryDef(const CString& name) override {
    Erase(m_db.queries, name, [](const CDaoQueryDefInfo& q) { return q.m_strName; });
  }
  std::vector<CString> GetTableFieldNames(const CString& table) override { return Table(table).fields; }
  std::unique_ptr<DaoRecords> OpenRecordset(const CString& query) override {
    // The views ask for "Select * From [name]"; that is all this engine understands.
    const CString prefix = _T("Select * From [");
    if (query.Left(prefix.GetLength()) != prefix || query.Right(1) != _T("]")) Fail(_T("Syntax error in query."));
    return std::make_unique<MemoryRecords>(Table(query.Mid(prefix.GetLength(), query.GetLength() - prefix.GetLength() - 1)));
  }

 private:
  template <typename T>
  static const T& At(const std::vector<T>& items, int index) {
    if (index < 0 || static_cast<size_t>(index) >= items.size()) Fail(_T("Item not found in this collection."));
    return items[static_cast<size_t>(index)];
  }
  const MemoryTable& Table(const CString& name) {
    for (const MemoryTable& table : m_db.tables) {
      if (table.name == name) return table;
    }
    Fail(_T("Item not found in this collection."));
  }
  template <typename T, typename NameOf>
  void Erase(std::vector<T>& items, const CString& name, NameOf nameOf) {
    if (m_db.refuseDelete.count(name) != 0) Fail(m_db.refusal);
    auto found = std::find_if(items.begin(), items.end(), [&](const T& item) { return nameOf(item) == name; });
    if (found == items.end()) Fail(_T("Item not found in this collection."));
    items.erase(found);
  }
  MemoryDatabase& m_db;
};

}  // namespace

std::unique_ptr<DaoConnection> DaoMemoryEngine::OpenDatabase(const CString& path, BOOL, BOOL, const CString&) {
  auto found = m_databases.find(Key(path));
  if (found == m_databases.end()) Fail(_T("Could not find file."));
  return std::make_unique<MemoryConnection>(found->second);
}
