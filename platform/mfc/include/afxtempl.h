#pragma once
// The collection templates, for the element types our modules use. Each use is a full specialisation
// whose members live in QelMfc.dll (nothing that allocates is inline), so a list made in one module can
// be filled, read and destroyed in another. Other element types are deliberately not provided.
#include "afxcoll.h"

template <class TYPE, class ARG_TYPE>
class CList; // only the specialisations below exist

// A list of strings with MFC's CList interface (same semantics as CStringList).
template <>
class QEL_MFC_API CList<CString, CString&> : public CObject {
public:
    explicit CList(INT_PTR blockSize = 10);
    ~CList() override;
    INT_PTR GetCount() const;
    INT_PTR GetSize() const;
    BOOL IsEmpty() const;
    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;
    CString RemoveHead();
    CString RemoveTail();
    POSITION AddHead(CString& element);
    POSITION AddTail(CString& element);
    void AddHead(CList* list);
    void AddTail(CList* list);
    void RemoveAll();
    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CString& GetNext(POSITION& pos);
    const CString& GetNext(POSITION& pos) const;
    CString& GetPrev(POSITION& pos);
    const CString& GetPrev(POSITION& pos) const;
    CString& GetAt(POSITION pos);
    const CString& GetAt(POSITION pos) const;
    void SetAt(POSITION pos, CString& element);
    void RemoveAt(POSITION pos);
    POSITION InsertBefore(POSITION pos, CString& element);
    POSITION InsertAfter(POSITION pos, CString& element);
    POSITION Find(CString& value, POSITION startAfter = nullptr) const;
    POSITION FindIndex(INT_PTR index) const;

private:
    struct CNode;
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    friend struct QelListAccess;
};
