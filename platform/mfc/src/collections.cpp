// The lists and arrays of afxcoll.h and afxtempl.h: one implementation of each kind, shared by every
// element type through templates over the classes' own fields.
#include "afxtempl.h"

#include <cstdlib>
#include <new>
#include <type_traits>
#include <vector>

namespace {

// Elements compare with ==, except strings, which compare their text.
template <class T>
bool SameElement(const T& a, const T& b) {
    return a == b;
}
bool SameElement(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}

} // namespace

struct QelListAccess {
    template <class L>
    using Node = typename L::CNode;

    template <class L>
    static void Init(L& list) {
        list.m_pNodeHead = list.m_pNodeTail = nullptr;
        list.m_nCount = 0;
    }

    template <class L, class A>
    static Node<L>* NewNode(L& list, Node<L>* prev, Node<L>* next, const A& value) {
        Node<L>* node = new Node<L>{next, prev, value};
        ++list.m_nCount;
        return node;
    }

    template <class L>
    static void FreeNode(L& list, Node<L>* node) {
        delete node;
        --list.m_nCount;
    }

    template <class L, class A>
    static POSITION AddHead(L& list, const A& value) {
        Node<L>* node = NewNode(list, nullptr, list.m_pNodeHead, value);
        if (list.m_pNodeHead)
            list.m_pNodeHead->pPrev = node;
        else
            list.m_pNodeTail = node;
        list.m_pNodeHead = node;
        return reinterpret_cast<POSITION>(node);
    }

    template <class L, class A>
    static POSITION AddTail(L& list, const A& value) {
        Node<L>* node = NewNode(list, list.m_pNodeTail, nullptr, value);
        if (list.m_pNodeTail)
            list.m_pNodeTail->pNext = node;
        else
            list.m_pNodeHead = node;
        list.m_pNodeTail = node;
        return reinterpret_cast<POSITION>(node);
    }

    // Copies first, so that a list may be added to itself; the other list keeps its order.
    template <class L>
    static void AddList(L& list, const L* other, bool atHead) {
        if (!other)
            return;
        std::vector<decltype(other->m_pNodeHead->data)> values;
        for (Node<L>* node = other->m_pNodeHead; node; node = node->pNext)
            values.push_back(node->data);
        if (atHead) {
            for (auto it = values.rbegin(); it != values.rend(); ++it)
                AddHead(list, *it);
        } else {
            for (const auto& value : values)
                AddTail(list, value);
        }
    }

    template <class L>
    static void RemoveAll(L& list) {
        Node<L>* node = list.m_pNodeHead;
        while (node) {
            Node<L>* next = node->pNext;
            delete node;
            node = next;
        }
        Init(list);
    }

    template <class L>
    static void Unlink(L& list, Node<L>* node) {
        if (node->pPrev)
            node->pPrev->pNext = node->pNext;
        else
            list.m_pNodeHead = node->pNext;
        if (node->pNext)
            node->pNext->pPrev = node->pPrev;
        else
            list.m_pNodeTail = node->pPrev;
        FreeNode(list, node);
    }

    template <class L, class A>
    static POSITION InsertBefore(L& list, POSITION pos, const A& value) {
        Node<L>* at = reinterpret_cast<Node<L>*>(pos);
        if (!at)
            return AddHead(list, value);
        Node<L>* node = NewNode(list, at->pPrev, at, value);
        if (at->pPrev)
            at->pPrev->pNext = node;
        else
            list.m_pNodeHead = node;
        at->pPrev = node;
        return reinterpret_cast<POSITION>(node);
    }

    template <class L, class A>
    static POSITION InsertAfter(L& list, POSITION pos, const A& value) {
        Node<L>* at = reinterpret_cast<Node<L>*>(pos);
        if (!at)
            return AddTail(list, value);
        Node<L>* node = NewNode(list, at, at->pNext, value);
        if (at->pNext)
            at->pNext->pPrev = node;
        else
            list.m_pNodeTail = node;
        at->pNext = node;
        return reinterpret_cast<POSITION>(node);
    }

    template <class L, class V>
    static POSITION Find(const L& list, const V& value, POSITION startAfter) {
        Node<L>* node = startAfter ? reinterpret_cast<Node<L>*>(startAfter)->pNext : list.m_pNodeHead;
        for (; node; node = node->pNext)
            if (SameElement(node->data, value))
                return reinterpret_cast<POSITION>(node);
        return nullptr;
    }

    template <class L>
    static POSITION FindIndex(const L& list, INT_PTR index) {
        if (index < 0 || index >= list.m_nCount)
            return nullptr;
        Node<L>* node = list.m_pNodeHead;
        while (index-- > 0)
            node = node->pNext;
        return reinterpret_cast<POSITION>(node);
    }

    template <class L>
    static Node<L>* At(POSITION pos) {
        return reinterpret_cast<Node<L>*>(pos);
    }
};

// The members of one list class; TYPE is the element, ARG_TYPE what the interface takes.
#define QEL_IMPLEMENT_LIST(class_name, short_name, TYPE, ARG_TYPE)                                                 \
    struct class_name::CNode {                                                                         \
        CNode* pNext;                                                                                  \
        CNode* pPrev;                                                                                  \
        TYPE data;                                                                                     \
    };                                                                                                 \
    class_name::short_name(INT_PTR) { QelListAccess::Init(*this); }                                    \
    class_name::~short_name() { RemoveAll(); }                                                         \
    INT_PTR class_name::GetCount() const { return m_nCount; }                                          \
    INT_PTR class_name::GetSize() const { return m_nCount; }                                           \
    BOOL class_name::IsEmpty() const { return m_nCount == 0; }                                         \
    TYPE& class_name::GetHead() { return m_pNodeHead->data; }                                          \
    const TYPE& class_name::GetHead() const { return m_pNodeHead->data; }                              \
    TYPE& class_name::GetTail() { return m_pNodeTail->data; }                                          \
    const TYPE& class_name::GetTail() const { return m_pNodeTail->data; }                              \
    TYPE class_name::RemoveHead() {                                                                    \
        TYPE value = m_pNodeHead->data;                                                                \
        QelListAccess::Unlink(*this, m_pNodeHead);                                                     \
        return value;                                                                                  \
    }                                                                                                  \
    TYPE class_name::RemoveTail() {                                                                    \
        TYPE value = m_pNodeTail->data;                                                                \
        QelListAccess::Unlink(*this, m_pNodeTail);                                                     \
        return value;                                                                                  \
    }                                                                                                  \
    POSITION class_name::AddHead(ARG_TYPE element) { return QelListAccess::AddHead(*this, TYPE(element)); } \
    POSITION class_name::AddTail(ARG_TYPE element) { return QelListAccess::AddTail(*this, TYPE(element)); } \
    void class_name::AddHead(class_name* list) { QelListAccess::AddList(*this, list, true); }         \
    void class_name::AddTail(class_name* list) { QelListAccess::AddList(*this, list, false); }        \
    void class_name::RemoveAll() { QelListAccess::RemoveAll(*this); }                                  \
    POSITION class_name::GetHeadPosition() const { return reinterpret_cast<POSITION>(m_pNodeHead); }   \
    POSITION class_name::GetTailPosition() const { return reinterpret_cast<POSITION>(m_pNodeTail); }   \
    TYPE& class_name::GetNext(POSITION& pos) {                                                         \
        CNode* node = QelListAccess::At<class_name>(pos);                                              \
        pos = reinterpret_cast<POSITION>(node->pNext);                                                 \
        return node->data;                                                                             \
    }                                                                                                  \
    const TYPE& class_name::GetNext(POSITION& pos) const {                                             \
        CNode* node = QelListAccess::At<class_name>(pos);                                              \
        pos = reinterpret_cast<POSITION>(node->pNext);                                                 \
        return node->data;                                                                             \
    }                                                                                                  \
    TYPE& class_name::GetPrev(POSITION& pos) {                                                         \
        CNode* node = QelListAccess::At<class_name>(pos);                                              \
        pos = reinterpret_cast<POSITION>(node->pPrev);                                                 \
        return node->data;                                                                             \
    }                                                                                                  \
    const TYPE& class_name::GetPrev(POSITION& pos) const {                                             \
        CNode* node = QelListAccess::At<class_name>(pos);                                              \
        pos = reinterpret_cast<POSITION>(node->pPrev);                                                 \
        return node->data;                                                                             \
    }                                                                                                  \
    TYPE& class_name::GetAt(POSITION pos) { return QelListAccess::At<class_name>(pos)->data; }         \
    const TYPE& class_name::GetAt(POSITION pos) const {                                                \
        return QelListAccess::At<class_name>(pos)->data;                                               \
    }                                                                                                  \
    void class_name::SetAt(POSITION pos, ARG_TYPE element) {                                           \
        QelListAccess::At<class_name>(pos)->data = element;                                            \
    }                                                                                                  \
    void class_name::RemoveAt(POSITION pos) {                                                          \
        QelListAccess::Unlink(*this, QelListAccess::At<class_name>(pos));                              \
    }                                                                                                  \
    POSITION class_name::InsertBefore(POSITION pos, ARG_TYPE element) {                                \
        return QelListAccess::InsertBefore(*this, pos, TYPE(element));                                 \
    }                                                                                                  \
    POSITION class_name::InsertAfter(POSITION pos, ARG_TYPE element) {                                 \
        return QelListAccess::InsertAfter(*this, pos, TYPE(element));                                  \
    }                                                                                                  \
    POSITION class_name::Find(ARG_TYPE value, POSITION startAfter) const {                             \
        return QelListAccess::Find(*this, TYPE(value), startAfter);                                    \
    }                                                                                                  \
    POSITION class_name::FindIndex(INT_PTR index) const { return QelListAccess::FindIndex(*this, index); }

// Element types as single names, so that "const TYPE&" reads as in the classes' declarations.
typedef void* QelPointer;
typedef CObject* QelObjectPointer;

QEL_IMPLEMENT_LIST(CStringList, CStringList, CString, LPCSTR)
QEL_IMPLEMENT_LIST(CPtrList, CPtrList, QelPointer, QelPointer)
QEL_IMPLEMENT_LIST(CObList, CObList, QelObjectPointer, QelObjectPointer)
IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)

typedef CList<CString, CString&> CStringRefList;
QEL_IMPLEMENT_LIST(CStringRefList, CList, CString, CString&)

struct QelArrayAccess {
    // Room for at least newSize elements, by the grow rule of afxcoll.h.
    template <class A>
    static void SetSize(A& array, INT_PTR newSize, INT_PTR growBy) {
        typedef typename std::remove_pointer<decltype(array.m_pData)>::type T;
        if (growBy >= 0)
            array.m_nGrowBy = growBy;
        if (newSize < 0)
            newSize = 0;
        if (newSize > array.m_nMaxSize) {
            INT_PTR step = array.m_nGrowBy;
            if (step <= 0) {
                step = array.m_nSize / 8;
                step = step < 4 ? 4 : (step > 1024 ? 1024 : step);
            }
            INT_PTR capacity = array.m_nMaxSize + step;
            if (!array.m_pData)
                capacity = newSize > array.m_nGrowBy ? newSize : array.m_nGrowBy;
            else if (capacity < newSize)
                capacity = newSize;
            Reallocate(array, capacity);
        }
        for (INT_PTR i = array.m_nSize; i < newSize; ++i)
            new (&array.m_pData[i]) T();
        for (INT_PTR i = newSize; i < array.m_nSize; ++i)
            array.m_pData[i].~T();
        array.m_nSize = newSize;
        if (newSize == 0)
            Reallocate(array, 0); // an emptied array gives its storage back
    }

    // Moves the live elements into storage for capacity elements (none: no storage).
    template <class A>
    static void Reallocate(A& array, INT_PTR capacity) {
        typedef typename std::remove_pointer<decltype(array.m_pData)>::type T;
        T* data = capacity > 0 ? static_cast<T*>(std::malloc(sizeof(T) * capacity)) : nullptr;
        if (capacity > 0 && !data)
            throw std::bad_alloc();
        for (INT_PTR i = 0; i < array.m_nSize; ++i) {
            new (&data[i]) T(array.m_pData[i]);
            array.m_pData[i].~T();
        }
        std::free(array.m_pData);
        array.m_pData = data;
        array.m_nMaxSize = capacity;
    }

    template <class A>
    static void Clear(A& array) {
        SetSize(array, 0, -1);
        Reallocate(array, 0);
    }

    template <class A, class V>
    static void InsertAt(A& array, INT_PTR index, const V& value, INT_PTR count) {
        if (index < 0 || count <= 0)
            return;
        const INT_PTR oldSize = array.m_nSize;
        if (index >= oldSize) {
            SetSize(array, index + count, -1);
        } else {
            SetSize(array, oldSize + count, -1);
            for (INT_PTR i = oldSize - 1; i >= index; --i)
                array.m_pData[i + count] = array.m_pData[i];
        }
        for (INT_PTR i = 0; i < count; ++i)
            array.m_pData[index + i] = value;
    }

    template <class A>
    static void RemoveAt(A& array, INT_PTR index, INT_PTR count) {
        if (index < 0 || count <= 0 || index >= array.m_nSize)
            return;
        if (count > array.m_nSize - index)
            count = array.m_nSize - index;
        for (INT_PTR i = index; i + count < array.m_nSize; ++i)
            array.m_pData[i] = array.m_pData[i + count];
        SetSize(array, array.m_nSize - count, -1);
    }

    template <class A>
    static INT_PTR Append(A& array, const A& source) {
        const INT_PTR start = array.m_nSize;
        const INT_PTR count = source.m_nSize; // source may be the array itself
        SetSize(array, start + count, -1);
        for (INT_PTR i = 0; i < count; ++i)
            array.m_pData[start + i] = source.m_pData[i];
        return start;
    }
};

#define QEL_IMPLEMENT_ARRAY(class_name, TYPE, ARG_TYPE)                                                \
    IMPLEMENT_DYNAMIC(class_name, CObject)                                                             \
    class_name::class_name() : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}           \
    class_name::~class_name() { QelArrayAccess::Clear(*this); }                                        \
    INT_PTR class_name::GetSize() const { return m_nSize; }                                            \
    INT_PTR class_name::GetCount() const { return m_nSize; }                                           \
    BOOL class_name::IsEmpty() const { return m_nSize == 0; }                                          \
    INT_PTR class_name::GetUpperBound() const { return m_nSize - 1; }                                  \
    void class_name::SetSize(INT_PTR newSize, INT_PTR growBy) {                                        \
        QelArrayAccess::SetSize(*this, newSize, growBy);                                               \
    }                                                                                                  \
    void class_name::FreeExtra() {                                                                     \
        if (m_nSize != m_nMaxSize)                                                                     \
            QelArrayAccess::Reallocate(*this, m_nSize);                                                \
    }                                                                                                  \
    void class_name::RemoveAll() { QelArrayAccess::Clear(*this); }                                     \
    TYPE class_name::GetAt(INT_PTR index) const { return m_pData[index]; }                             \
    void class_name::SetAt(INT_PTR index, ARG_TYPE element) { m_pData[index] = element; }              \
    TYPE& class_name::ElementAt(INT_PTR index) { return m_pData[index]; }                              \
    const TYPE* class_name::GetData() const { return m_pData; }                                        \
    TYPE* class_name::GetData() { return m_pData; }                                                    \
    void class_name::SetAtGrow(INT_PTR index, ARG_TYPE element) {                                      \
        const TYPE value(element);                                                                     \
        if (index >= m_nSize)                                                                          \
            SetSize(index + 1, -1);                                                                    \
        m_pData[index] = value;                                                                        \
    }                                                                                                  \
    INT_PTR class_name::Add(ARG_TYPE element) {                                                        \
        const INT_PTR index = m_nSize;                                                                 \
        SetAtGrow(index, element);                                                                     \
        return index;                                                                                  \
    }                                                                                                  \
    INT_PTR class_name::Append(const class_name& source) { return QelArrayAccess::Append(*this, source); } \
    void class_name::Copy(const class_name& source) {                                                  \
        if (this == &source)                                                                           \
            return;                                                                                    \
        SetSize(source.m_nSize, -1);                                                                   \
        for (INT_PTR i = 0; i < m_nSize; ++i)                                                          \
            m_pData[i] = source.m_pData[i];                                                            \
    }                                                                                                  \
    TYPE class_name::operator[](INT_PTR index) const { return m_pData[index]; }                        \
    TYPE& class_name::operator[](INT_PTR index) { return m_pData[index]; }                             \
    void class_name::InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count) {                        \
        QelArrayAccess::InsertAt(*this, index, TYPE(element), count);                                  \
    }                                                                                                  \
    void class_name::InsertAt(INT_PTR start, class_name* source) {                                     \
        if (!source || source->m_nSize == 0)                                                           \
            return;                                                                                    \
        class_name copy;                                                                               \
        copy.Copy(*source);                                                                            \
        QelArrayAccess::InsertAt(*this, start, copy.m_pData[0], copy.m_nSize);                         \
        for (INT_PTR i = 0; i < copy.m_nSize; ++i)                                                     \
            m_pData[start + i] = copy.m_pData[i];                                                      \
    }                                                                                                  \
    void class_name::RemoveAt(INT_PTR index, INT_PTR count) { QelArrayAccess::RemoveAt(*this, index, count); }

QEL_IMPLEMENT_ARRAY(CPtrArray, QelPointer, QelPointer)
QEL_IMPLEMENT_ARRAY(CDWordArray, DWORD, DWORD)
QEL_IMPLEMENT_ARRAY(CStringArray, CString, LPCSTR)
QEL_IMPLEMENT_ARRAY(CObArray, QelObjectPointer, QelObjectPointer)
