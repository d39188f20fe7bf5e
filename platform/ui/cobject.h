#pragma once
// The class library's root object with runtime class information: a class
// name, object size, schema, base class and, for dynamically creatable
// classes, a factory.

#include "platform/ui/win_user.h"

class CObject;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                               // 0xFFFF for classes that are not serialisable
  CObject* (*m_pfnCreateObject)();              // null unless the class is dynamically creatable
  const CRuntimeClass* (*m_pfnGetBaseClass)();  // a function, so static initialisation order never matters

  // A new object of the class, or null when it has no factory.
  [[nodiscard]] CObject* CreateObject() const;
  [[nodiscard]] BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  [[nodiscard]] const CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
};

class CObject {
 public:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
  virtual ~CObject() = default;

  virtual const CRuntimeClass* GetRuntimeClass() const;
  [[nodiscard]] BOOL IsKindOf(const CRuntimeClass* cls) const;

  static const CRuntimeClass classCObject;
  static const CRuntimeClass* GetThisClass();
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)             \
 public:                                        \
  static const CRuntimeClass class##class_name; \
  static const CRuntimeClass* GetThisClass();   \
  const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define GLIMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, factory)                               \
  const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), schema, \
                                                       factory, &base_class_name::GetThisClass};                  \
  const CRuntimeClass* class_name::GetThisClass() { return &class_name::class##class_name; }                      \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  GLIMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

// The class name is a type in these two, where parentheses cannot go.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)         \
  CObject* class_name::CreateObject() { return new class_name; } \
  GLIMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)    \
  CObject* class_name::CreateObject() { return new class_name; } \
  GLIMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, &class_name::CreateObject)
// NOLINTEND(bugprone-macro-parentheses)
