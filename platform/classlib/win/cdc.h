// CDC: a device context. This part holds the handle and its wrappers (handlers receive a CDC*);
// the drawing members belong to the drawing part of the library and are added here.
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/win/handlemap.h"

class CDC : public CObject {
  DECLARE_DYNCREATE(CDC)

 public:
  CDC() = default;
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;        // where output goes
  HDC m_hAttribDC = nullptr;  // what attribute queries read (the same DC unless a class splits them)

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }

  // The object attached to the DC, or a temporary wrapper (deleted when the thread goes idle).
  static CDC* FromHandle(HDC hDC);
  // Makes this object the DC's permanent wrapper; FALSE when the DC already has one.
  BOOL Attach(HDC hDC);
  HDC Detach();

  static CDC* NewTemporary(HDC hDC);
  static void DeleteTemporary(CDC* pDC);
};

using CDCHandleMap = CHandleMap<CDC, HDC>;
