#include "platform/standins/dao_automation.h"

#include <objbase.h>

#include "platform/classlib/win/coledispatchdriver.h"
#include "platform/classlib/win/coleexception.h"

namespace {

constexpr long kOpenDynaset = 2;

// An automation object whose members are called by name. Failures become CDaoException*.
class AutoObject {
 public:
  AutoObject() = default;
  explicit AutoObject(LPDISPATCH dispatch) { m_driver.AttachDispatch(dispatch, TRUE); }

  COleVariant Get(LPCTSTR member) { return Invoke(member, DISPATCH_PROPERTYGET, VTS_NONE); }
  AutoObject Object(LPCTSTR member) { return FromVariant(Get(member)); }
  AutoObject Item(long index) { return FromVariant(Invoke(_T("Item"), DISPATCH_PROPERTYGET | DISPATCH_METHOD, VTS_I4, index)); }
  AutoObject Item(const CString& name) {
    return FromVariant(Invoke(_T("Item"), DISPATCH_PROPERTYGET | DISPATCH_METHOD, VTS_BSTR, static_cast<LPCTSTR>(name)));
  }
  long Long(LPCTSTR member) { return LongOf(Get(member)); }
  CString Text(LPCTSTR member) {
    COleVariant value = Get(member);
    return value.vt == VT_BSTR ? CString(value.bstrVal) : CString();
  }

  template <typename... Args>
  COleVariant Invoke(LPCTSTR member, WORD flags, const char* params, Args... args) {
    COleVariant result;
    try {
      const DISPID id = m_driver.GetIDOfName(member);
      if (id == DISPID_UNKNOWN) throw new CDaoException(CString(_T("The database engine has no member ")) + member + _T("."));
      m_driver.InvokeHelper(id, flags, VT_VARIANT, static_cast<VARIANT*>(&result),
                            reinterpret_cast<const BYTE*>(params), args...);
    } catch (COleDispatchException* e) {
      CString why = e->m_strDescription.IsEmpty() ? CString(_T("The database engine failed.")) : e->m_strDescription;
      e->Delete();
      throw new CDaoException(why);
    } catch (COleException* e) {
      e->Delete();
      throw new CDaoException(_T("The database engine failed."));
    }
    return result;
  }

  COleDispatchDriver m_driver;

 private:
  static long LongOf(const COleVariant& value) {
    VARIANT converted;
    ::VariantInit(&converted);
    long result = 0;
    if (SUCCEEDED(::VariantChangeType(&converted, const_cast<VARIANT*>(static_cast<const VARIANT*>(&value)), 0, VT_I4))) {
      result = converted.lVal;
    }
    ::VariantClear(&converted);
    return result;
  }
  static AutoObject FromVariant(const COleVariant& value) {
    if (value.vt != VT_DISPATCH || value.pdispVal == nullptr) throw new CDaoException(_T("The database engine gave no object."));
    value.pdispVal->AddRef();
    return AutoObject(value.pdispVal);
  }
};

class AutomationRecords : public DaoRecords {
 public:
  explicit AutomationRecords(AutoObject recordset) : m_recordset(std::move(recordset)) {}
  ~AutomationRecords() override {
    try {
      m_recordset.Invoke(_T("Close"), DISPATCH_METHOD, VTS_NONE);
    } catch (CDaoException* e) {
      e->Delete();
    }
  }
  bool IsEOF() override { return m_recordset.Long(_T("EOF")) != 0; }
  int GetFieldCount() override { return static_cast<int>(m_recordset.Object(_T("Fields")).Long(_T("Count"))); }
  COleVariant GetFieldValue(int index) override {
    return m_recordset.Object(_T("Fields")).Item(static_cast<long>(index)).Get(_T("Value"));
  }
  void MoveNext() override { m_recordset.Invoke(_T("MoveNext"), DISPATCH_METHOD, VTS_NONE); }

 private:
  AutoObject m_recordset;
};

class AutomationConnection : public DaoConnection {
 public:
  explicit AutomationConnection(AutoObject database) : m_database(std::move(database)) {}
  ~AutomationConnection() override {
    try {
      m_database.Invoke(_T("Close"), DISPATCH_METHOD, VTS_NONE);
    } catch (CDaoException* e) {
      e->Delete();
    }
  }
  int GetTableDefCount() override { return Count(_T("TableDefs")); }
  CDaoTableDefInfo GetTableDefInfo(int index) override {
    AutoObject table = m_database.Object(_T("TableDefs")).Item(static_cast<long>(index));
    return {table.Text(_T("Name")), table.Long(_T("Attributes"))};
  }
  int GetQueryDefCount() override { return Count(_T("QueryDefs")); }
  CDaoQueryDefInfo GetQueryDefInfo(int index) override {
    AutoObject query = m_database.Object(_T("QueryDefs")).Item(static_cast<long>(index));
    return {query.Text(_T("Name")), static_cast<short>(query.Long(_T("Type")))};
  }
  int GetRelationCount() override { return Count(_T("Relations")); }
  CDaoRelationInfo GetRelationInfo(int index) override {
    AutoObject relation = m_database.Object(_T("Relations")).Item(static_cast<long>(index));
    return {relation.Text(_T("Name")), relation.Long(_T("Attributes"))};
  }
  void DeleteTableDef(const CString& name) override { Delete(_T("TableDefs"), name); }
  void DeleteQueryDef(const CString& name) override { Delete(_T("QueryDefs"), name); }
  std::vector<CString> GetTableFieldNames(const CString& table) override {
    AutoObject fields = m_database.Object(_T("TableDefs")).Item(table).Object(_T("Fields"));
    std::vector<CString> names;
    const long count = fields.Long(_T("Count"));
    for (long i = 0; i < count; ++i) names.push_back(fields.Item(i).Text(_T("Name")));
    return names;
  }
  std::unique_ptr<DaoRecords> OpenRecordset(const CString& query) override {
    COleVariant recordset = m_database.Invoke(_T("OpenRecordset"), DISPATCH_METHOD, VTS_BSTR VTS_I4,
                                              static_cast<LPCTSTR>(query), kOpenDynaset);
    if (recordset.vt != VT_DISPATCH || recordset.pdispVal == nullptr) {
      throw new CDaoException(_T("The database engine gave no recordset."));
    }
    recordset.pdispVal->AddRef();
    return std::make_unique<AutomationRecords>(AutoObject(recordset.pdispVal));
  }

 private:
  int Count(LPCTSTR collection) { return static_cast<int>(m_database.Object(collection).Long(_T("Count"))); }
  void Delete(LPCTSTR collection, const CString& name) {
    m_database.Object(collection).Invoke(_T("Delete"), DISPATCH_METHOD, VTS_BSTR, static_cast<LPCTSTR>(name));
  }
  AutoObject m_database;
};

}  // namespace

std::unique_ptr<DaoConnection> DaoAutomationEngine::OpenDatabase(const CString& path, BOOL bExclusive, BOOL bReadOnly,
                                                                 const CString& connect) {
  AutoObject engine;
  if (!engine.m_driver.CreateDispatch(_T("DAO.DBEngine.36")) &&
      !engine.m_driver.CreateDispatch(_T("DAO.DBEngine.120"))) {
    throw new CDaoException(_T("The database engine is not installed on this computer."), TRUE);
  }
  COleVariant database = engine.Invoke(_T("OpenDatabase"), DISPATCH_METHOD, VTS_BSTR VTS_BOOL VTS_BOOL VTS_BSTR,
                                       static_cast<LPCTSTR>(path), bExclusive, bReadOnly,
                                       static_cast<LPCTSTR>(connect));
  if (database.vt != VT_DISPATCH || database.pdispVal == nullptr) {
    throw new CDaoException(_T("The database engine gave no database."));
  }
  database.pdispVal->AddRef();
  return std::make_unique<AutomationConnection>(AutoObject(database.pdispVal));
}
