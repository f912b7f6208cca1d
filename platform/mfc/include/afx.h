#pragma once
// Core of the MFC-compatible layer: the string class, the geometry types, the object root with its
// run-time class information, the module handles and the file finder.
#include <windows.h>
// Names the dialog header maps to their ANSI forms (GetFileTitle) are mapped for every user alike.
#include <commdlg.h>

#include "afxdllapi.h"
#include "afxstr.h"
#include "atltypes.h"

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif

// An opaque iterator over a list's nodes; NULL is "no position".
struct __POSITION {};
typedef __POSITION* POSITION;

class CObject;

// What a class declared with DECLARE_DYNAMIC or DECLARE_DYNCREATE says about itself.
struct QEL_MFC_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject*(__stdcall* m_pfnCreateObject)(); // null for a class that cannot be created dynamically
    CRuntimeClass*(__stdcall* m_pfnGetBaseClass)(); // null for CObject

    CObject* CreateObject(); // a new object of the class (delete it), null when not creatable
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
    CRuntimeClass* GetBaseClass() const;
};

// The root of the class tree: run-time class queries and one allocator for every derived object.
class QEL_MFC_API CObject {
public:
    virtual ~CObject();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static void* operator new(size_t size);
    static void* operator new(size_t, void* place) noexcept { return place; }
    static void operator delete(void* block);
    static void operator delete(void*, void*) noexcept {}

    static CRuntimeClass* __stdcall GetThisClass();
    static const CRuntimeClass classCObject;

protected:
    CObject();

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                  \
public:                                                                                              \
    static const CRuntimeClass class##class_name;                                                    \
    static CRuntimeClass* __stdcall GetThisClass();                                                  \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                                \
    DECLARE_DYNAMIC(class_name)                                                                      \
    static CObject* __stdcall CreateObject();

#define QEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, create)                              \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name),      \
                                                         0xFFFF, create,                             \
                                                         &base_class_name::GetThisClass};            \
    CRuntimeClass* __stdcall class_name::GetThisClass() {                                            \
        return const_cast<CRuntimeClass*>(&class_name::class##class_name);                           \
    }                                                                                                \
    CRuntimeClass* class_name::GetRuntimeClass() const { return class_name::GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                               \
    QEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                             \
    CObject* __stdcall class_name::CreateObject() { return new class_name; }                         \
    QEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)

// Module handles: the program's instance (the application's, else the executable's) and the module
// resources are loaded from (the instance until AfxSetResourceHandle names another).
QEL_MFC_API HINSTANCE AFXAPI AfxGetInstanceHandle();
QEL_MFC_API HINSTANCE AFXAPI AfxGetResourceHandle();
QEL_MFC_API void AFXAPI AfxSetResourceHandle(HINSTANCE resource);

// Walks the files that match a pattern: FindFile starts, each FindNextFile moves to the next match
// (FALSE when the match it moved to is the last one); the accessors describe the current match.
class QEL_MFC_API CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind();
    ~CFileFind() override;

    virtual BOOL FindFile(LPCSTR name = nullptr, DWORD unused = 0); // null: "*.*"
    virtual BOOL FindNextFile();
    void Close();

    ULONGLONG GetLength() const;
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;
    virtual CString GetFileTitle() const; // the name without its extension
    virtual CString GetFileURL() const;
    virtual CString GetRoot() const; // the folder searched, with a trailing backslash
    BOOL GetLastWriteTime(FILETIME* time) const;
    BOOL GetLastAccessTime(FILETIME* time) const;
    BOOL GetCreationTime(FILETIME* time) const;
    BOOL MatchesMask(DWORD mask) const;
    virtual BOOL IsDots() const;
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

private:
    HANDLE m_hContext;
    WIN32_FIND_DATAA* m_pFoundInfo; // the current match (valid after FindNextFile)
    WIN32_FIND_DATAA* m_pNextInfo;  // the match the next FindNextFile moves to
    CString m_strRoot;
    BOOL m_bHasNext;
};
