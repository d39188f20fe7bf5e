#include "platform/ui/cobject.h"

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetThisClass() { return &classCObject; }
const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  // Class hierarchies are shallow; the cap only guards a corrupt chain.
  int depth = 0;
  for (const CRuntimeClass* c = this; c && depth < 64; c = c->GetBaseClass(), ++depth) {
    if (c == base) return TRUE;
  }
  return FALSE;
}
