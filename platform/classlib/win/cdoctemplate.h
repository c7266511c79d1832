// Document templates: which document, frame and first view classes belong together, and the texts of
// the document type, read from one string resource of seven fields separated by line feeds:
//   window title \n document name \n new-file name \n filter name \n filter extension \n
//   file type id \n file type name
// A single-document template keeps one document and reuses it (and its frame) for every new or
// opened file; a multiple-document template makes a document and a frame for each.
#pragma once

#include "platform/classlib/clist.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/win/ccmdtarget.h"

struct CRuntimeClass;
class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                    yesAlreadyOpen };

  // Documents still open are not closed; they forget the template (the derived classes see to it).
  ~CDocTemplate() override;

  // Reads the string resource (once); the application does it when the template is added.
  virtual void LoadTemplate();
  // One field of the string resource; FALSE (and empty) when the resource has fewer fields.
  virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);
  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;

  // A new document of the template's class (not yet new or opened); null when it cannot be made.
  virtual CDocument* CreateNewDocument();
  // A frame for pDoc from the template's resources, with its first view; null on failure.
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  // lpszPathName null: a new document; else that file. The document, or null when it failed.
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;
  // Whether a path is of this template: yesAlreadyOpen (with the document) when one of its documents
  // has that path, yesAttemptNative when the extension is the template's, else yesAttemptForeign.
  virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);

  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;

 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
  // The title a new document gets: the document name field (plus a number for several), else
  // "Untitled".
  CString DefaultTitle(UINT nNumber) const;
  // Opens a new or existing document in pDoc; FALSE when its OnNewDocument or OnOpenDocument failed.
  BOOL PrepareDocument(CDocument* pDoc, LPCTSTR lpszPathName);
  // Destroys the frame (and its views) without the document ending with its last view.
  static void DestroyFrameKeepingDocument(CFrameWnd* pFrame, CDocument* pDoc);
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)

 public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass);
  ~CSingleDocTemplate() override;

  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& rPos) const override;
  // The one document: made with its frame the first time, else asked to save its changes and reused
  // in its frame.
  CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* pDocument) override;

 protected:
  CDocument* m_pOnlyDoc = nullptr;
};

class CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)

 public:
  CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                    CRuntimeClass* pViewClass);
  ~CMultiDocTemplate() override;

  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& rPos) const override;
  // A new document in a new frame each time.
  CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* pDocument) override;

 protected:
  CPtrList m_docList;
  UINT m_nUntitledCount = 0;
};
