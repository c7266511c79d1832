// Word and PowerPoint driven through OLE automation: the wrappers of the members the preview uses, the
// conversion of a Word document to RTF and the export of a presentation's slides as pictures. Office
// itself is outside the program; without it both return 0 at once.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/coledispatchdriver.h"

class WordApplication : public COleDispatchDriver {
 public:
  LPDISPATCH GetDocuments();
  void Quit(VARIANT* saveChanges, VARIANT* originalFormat, VARIANT* routeDocument);
};

class WordDocuments : public COleDispatchDriver {
 public:
  LPDISPATCH Add(VARIANT* templateName, VARIANT* newTemplate);
  LPDISPATCH Open(VARIANT* fileName, VARIANT* confirmConversions, VARIANT* readOnly, VARIANT* addToRecentFiles,
                  VARIANT* passwordDocument, VARIANT* passwordTemplate, VARIANT* revert,
                  VARIANT* writePasswordDocument, VARIANT* writePasswordTemplate, VARIANT* format);
};

class WordDocument : public COleDispatchDriver {
 public:
  void Close(VARIANT* saveChanges, VARIANT* originalFormat, VARIANT* routeDocument);
  void SaveAs(VARIANT* fileName, VARIANT* fileFormat, VARIANT* lockComments, VARIANT* password,
              VARIANT* addToRecentFiles, VARIANT* writePassword, VARIANT* readOnlyRecommended,
              VARIANT* embedTrueTypeFonts, VARIANT* saveNativePictureFormat, VARIANT* saveFormsData,
              VARIANT* saveAsAOCELetter);
};

class PowerPointApplication : public COleDispatchDriver {
 public:
  LPDISPATCH GetPresentations();
  void Quit();
};

class PowerPointPresentations : public COleDispatchDriver {
 public:
  LPDISPATCH Open(LPCTSTR fileName, long readOnly, long untitled, long withWindow);
};

class PowerPointPresentation : public COleDispatchDriver {
 public:
  void SaveAs(LPCTSTR fileName, long fileFormat, long embedTrueTypeFonts);
};

// Documents opened by this Office application from now on run no macros (automation security forced
// off). false when the application would not take it: recovered files come from an untrusted disk, so
// nothing is opened then.
bool ForceAutomationSecurityOff(COleDispatchDriver& application);

// The temporary-files folder with its trailing backslash (asked for with a buffer of 255 characters).
CString PreviewTempFolder();
// Where Word's RTF goes: the temporary-files folder + "New.rtf".
CString WordRtfPath();

// Word saves the ".doc" or ".docx" file as RTF at WordRtfPath(): 1 when the file is there, else 0. Word
// is asked to quit whichever way the conversion ends. *wordInstalled (when given): Word could be started.
int ConvertWordToRtf(CString path, bool* wordInstalled = nullptr);

// PowerPoint saves the presentation's slides as GIF pictures into the folder "ssss" of the temporary-files
// folder (emptied first), whose path goes to *slideFolder: 1 when at least one picture came, else 0.
// Without PowerPoint on the machine the preview is told that its component is missing.
int ExportPresentationSlides(const CString& path, CString* slideFolder);
