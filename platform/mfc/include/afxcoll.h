#pragma once
// The collection classes: doubly linked lists walked by POSITION, and arrays that grow by a step
// (every member lives in QelMfc.dll, so a collection may be filled in one of our modules and read,
// changed or destroyed in another).
#include "afx.h"

// Arrays: when an array outgrows its storage, the new capacity is the larger of the size asked for
// and the old capacity plus the growth step: the step set with SetSize, or when none is set the
// current size / 8 clamped to 4..1024. New elements are zero (empty strings).
#define QEL_DECLARE_ARRAY(class_name, TYPE, ARG_TYPE)                                                \
    class QEL_MFC_API class_name : public CObject {                                                  \
        DECLARE_DYNAMIC(class_name)                                                                  \
    public:                                                                                          \
        typedef TYPE BASE_TYPE;                                                                      \
        class_name();                                                                                \
        ~class_name() override;                                                                      \
        INT_PTR GetSize() const;                                                                     \
        INT_PTR GetCount() const;                                                                    \
        BOOL IsEmpty() const;                                                                        \
        INT_PTR GetUpperBound() const;                                                               \
        void SetSize(INT_PTR newSize, INT_PTR growBy = -1);                                          \
        void FreeExtra();                                                                            \
        void RemoveAll();                                                                            \
        BASE_TYPE GetAt(INT_PTR index) const;                                                        \
        void SetAt(INT_PTR index, ARG_TYPE element);                                                 \
        BASE_TYPE& ElementAt(INT_PTR index);                                                         \
        const BASE_TYPE* GetData() const;                                                            \
        BASE_TYPE* GetData();                                                                        \
        void SetAtGrow(INT_PTR index, ARG_TYPE element);                                             \
        INT_PTR Add(ARG_TYPE element);                                                               \
        INT_PTR Append(const class_name& source);                                                    \
        void Copy(const class_name& source);                                                         \
        BASE_TYPE operator[](INT_PTR index) const;                                                   \
        BASE_TYPE& operator[](INT_PTR index);                                                        \
        void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1);                           \
        void InsertAt(INT_PTR start, class_name* source);                                            \
        void RemoveAt(INT_PTR index, INT_PTR count = 1);                                             \
                                                                                                     \
    private:                                                                                         \
        BASE_TYPE* m_pData;                                                                          \
        INT_PTR m_nSize;                                                                             \
        INT_PTR m_nMaxSize;                                                                          \
        INT_PTR m_nGrowBy;                                                                           \
        friend struct QelArrayAccess;                                                                \
    };

QEL_DECLARE_ARRAY(CPtrArray, void*, void*)
QEL_DECLARE_ARRAY(CDWordArray, DWORD, DWORD)
QEL_DECLARE_ARRAY(CStringArray, CString, LPCSTR)
QEL_DECLARE_ARRAY(CObArray, CObject*, CObject*)

// Lists: Add/Insert return the new element's POSITION; GetNext and GetPrev return the element at pos
// and move pos on (NULL past the end); Find compares with ==. Removing an element invalidates only its
// own POSITION.
#define QEL_DECLARE_LIST(class_name, TYPE, ARG_TYPE)                                                 \
    class QEL_MFC_API class_name : public CObject {                                                  \
        DECLARE_DYNAMIC(class_name)                                                                  \
    public:                                                                                          \
        typedef TYPE BASE_TYPE;                                                                      \
        explicit class_name(INT_PTR blockSize = 10);                                                 \
        ~class_name() override;                                                                      \
        INT_PTR GetCount() const;                                                                    \
        INT_PTR GetSize() const;                                                                     \
        BOOL IsEmpty() const;                                                                        \
        BASE_TYPE& GetHead();                                                                        \
        const BASE_TYPE& GetHead() const;                                                            \
        BASE_TYPE& GetTail();                                                                        \
        const BASE_TYPE& GetTail() const;                                                            \
        BASE_TYPE RemoveHead();                                                                      \
        BASE_TYPE RemoveTail();                                                                      \
        POSITION AddHead(ARG_TYPE element);                                                          \
        POSITION AddTail(ARG_TYPE element);                                                          \
        void AddHead(class_name* list);                                                              \
        void AddTail(class_name* list);                                                              \
        void RemoveAll();                                                                            \
        POSITION GetHeadPosition() const;                                                            \
        POSITION GetTailPosition() const;                                                            \
        BASE_TYPE& GetNext(POSITION& pos);                                                           \
        const BASE_TYPE& GetNext(POSITION& pos) const;                                               \
        BASE_TYPE& GetPrev(POSITION& pos);                                                           \
        const BASE_TYPE& GetPrev(POSITION& pos) const;                                               \
        BASE_TYPE& GetAt(POSITION pos);                                                              \
        const BASE_TYPE& GetAt(POSITION pos) const;                                                  \
        void SetAt(POSITION pos, ARG_TYPE element);                                                  \
        void RemoveAt(POSITION pos);                                                                 \
        POSITION InsertBefore(POSITION pos, ARG_TYPE element);                                       \
        POSITION InsertAfter(POSITION pos, ARG_TYPE element);                                        \
        POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const;                          \
        POSITION FindIndex(INT_PTR index) const;                                                     \
                                                                                                     \
    private:                                                                                         \
        struct CNode;                                                                                \
        CNode* m_pNodeHead;                                                                          \
        CNode* m_pNodeTail;                                                                          \
        INT_PTR m_nCount;                                                                            \
        friend struct QelListAccess;                                                                 \
    };

QEL_DECLARE_LIST(CStringList, CString, LPCSTR)
QEL_DECLARE_LIST(CPtrList, void*, void*)
QEL_DECLARE_LIST(CObList, CObject*, CObject*)
