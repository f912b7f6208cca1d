#pragma once
// CXmlParsing: a thin reader over the MSXML document object model. Initialize, LoadFile, the getters,
// then Uninitialize, all on one thread. The getters fill one text and return it; each call overwrites
// it. Calls on an empty pointer that are not said to be tolerated throw _com_error(E_POINTER); failing
// DOM calls throw _com_error with their HRESULT.
#include "QelLib1Api.h"
#include "SimpleString.h"
#include "XmlDomPointers.h"

class QELLIB1_API CXmlParsing {
public:
    CXmlParsing();
    ~CXmlParsing();

    // CoInitialize for the calling thread; a failure is thrown.
    void Initialize();
    // Releases the document and uninitialises COM. An empty document still uninitialises, then throws
    // E_POINTER.
    void Uninitialize();
    // 1 when the file loaded; else shows "Load Xml Error : <path>" (caption "Exception occurred") and 0.
    int LoadFile(const char* path);
    // The same without any box, for callers that report failures themselves: S_OK when the file loaded,
    // else the failure (E_FAIL for a document that does not parse).
    HRESULT LoadFileQuietly(const char* path);

    IXMLDOMElementPtr GetElementPtr();
    IXMLDOMNodeListPtr GetChildNode(IXMLDOMElementPtr element);
    IXMLDOMNodePtr GetNode(IXMLDOMNodeListPtr list, long index);
    // Item index of the element's descendants with that tag; empty for an empty element, a null tag or
    // no match.
    IXMLDOMNodePtr GetNode(IXMLDOMElementPtr element, char* tagName, long index);

    // The node's name; an empty node gives "".
    _SS<char>& GetNodeName(IXMLDOMNodePtr node);
    // The node's text content; an empty node gives "".
    _SS<char>& GetNodeValue(IXMLDOMNodePtr node);
    // The attribute's value as text; "" for an empty element, a null name or a missing attribute.
    _SS<char>& GetAttribute(IXMLDOMElementPtr element, char* name);
    // The text of the first descendant with that tag; "" when there is none.
    _SS<char>& GetNodeData(IXMLDOMElementPtr element, char* tagName);

private:
    // text := what `read` gives of node ("" for an empty node).
    _SS<char>& FillText(IXMLDOMNodePtr node, HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*read)(BSTR*));

    IXMLDOMDocumentPtr m_document;
    _SS<char> m_text;
};
