// The XML document reader over MSXML.
#include "XmlParsing.h"

#include <afxhook.h>

#include <string>

namespace {

// Throws a failing HRESULT of a DOM call with the interface that failed.
template <typename Interface>
void Check(HRESULT hr, Interface* object) {
    if (FAILED(hr))
        _com_issue_errorex(hr, object, __uuidof(Interface));
}

// Takes over a BSTR the DOM returned and gives its narrow text ("" for a null or empty one).
std::string Narrow(BSTR text) {
    const _bstr_t owned(text, false);
    const char* narrow = owned.length() ? static_cast<const char*>(owned) : nullptr;
    return narrow ? narrow : "";
}

} // namespace

CXmlParsing::CXmlParsing() = default;

CXmlParsing::~CXmlParsing() = default;

void CXmlParsing::Initialize() {
    const HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr))
        _com_issue_error(hr);
}

void CXmlParsing::Uninitialize() {
    if (!m_document) {
        // Balance Initialize before reporting the empty document.
        CoUninitialize();
        _com_issue_error(E_POINTER);
    }
    m_document.Release();
    CoUninitialize();
}

int CXmlParsing::LoadFile(const char* path) {
    if (SUCCEEDED(LoadFileQuietly(path)))
        return 1;
    const std::string text = std::string("Load Xml Error : ") + (path ? path : "");
    AfxShowMessageBox(nullptr, text.c_str(), "Exception occurred", MB_OK);
    return 0;
}

HRESULT CXmlParsing::LoadFileQuietly(const char* path) {
    if (!path)
        return E_POINTER;
    try {
        const _variant_t source(path);
        const HRESULT created = m_document.CreateInstance("msxml.domdocument", nullptr, CLSCTX_ALL);
        if (FAILED(created))
            _com_issue_error(created);
        VARIANT_BOOL loaded = VARIANT_FALSE;
        Check(m_document->load(source, &loaded), m_document.GetInterfacePtr());
        if (loaded != VARIANT_TRUE)
            _com_issue_error(E_FAIL);
    } catch (const _com_error& error) {
        return error.Error();
    }
    return S_OK;
}

IXMLDOMElementPtr CXmlParsing::GetElementPtr() {
    IXMLDOMElementPtr element;
    Check(m_document->get_documentElement(&element), m_document.GetInterfacePtr());
    return element;
}

IXMLDOMNodeListPtr CXmlParsing::GetChildNode(IXMLDOMElementPtr element) {
    IXMLDOMNodeListPtr children;
    Check(element->get_childNodes(&children), element.GetInterfacePtr());
    return children;
}

IXMLDOMNodePtr CXmlParsing::GetNode(IXMLDOMNodeListPtr list, long index) {
    IXMLDOMNodePtr node;
    Check(list->get_item(index, &node), list.GetInterfacePtr());
    return node;
}

IXMLDOMNodePtr CXmlParsing::GetNode(IXMLDOMElementPtr element, char* tagName, long index) {
    if (!element || !tagName)
        return IXMLDOMNodePtr();
    IXMLDOMNodeListPtr matches;
    Check(element->getElementsByTagName(_bstr_t(tagName), &matches), element.GetInterfacePtr());
    if (!matches)
        return IXMLDOMNodePtr();
    return GetNode(matches, index);
}

_SS<char>& CXmlParsing::GetNodeName(IXMLDOMNodePtr node) { return FillText(node, &IXMLDOMNode::get_nodeName); }

_SS<char>& CXmlParsing::GetNodeValue(IXMLDOMNodePtr node) { return FillText(node, &IXMLDOMNode::get_text); }

_SS<char>& CXmlParsing::FillText(IXMLDOMNodePtr node, HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*read)(BSTR*)) {
    m_text.clear();
    if (!node)
        return m_text;
    BSTR text = nullptr;
    Check((node.GetInterfacePtr()->*read)(&text), node.GetInterfacePtr());
    m_text = Narrow(text);
    return m_text;
}

_SS<char>& CXmlParsing::GetAttribute(IXMLDOMElementPtr element, char* name) {
    m_text.clear();
    if (!element || !name)
        return m_text;
    _variant_t value;
    Check(element->getAttribute(_bstr_t(name), &value), element.GetInterfacePtr());
    if (V_VT(&value) == VT_NULL || V_VT(&value) == VT_EMPTY)
        return m_text;
    const _bstr_t text(value);
    m_text = text.length() ? static_cast<const char*>(text) : "";
    return m_text;
}

_SS<char>& CXmlParsing::GetNodeData(IXMLDOMElementPtr element, char* tagName) {
    return GetNodeValue(GetNode(element, tagName, 0));
}
