// The XML reader on files the tests write; failures through the message-box hook and _com_error.
#include <qelLib1.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "qeltest/message_box_hook.h"
#include "qeltest/temp_dir.h"

namespace {

constexpr char kDocument[] = "<?xml version=\"1.0\"?>\n"
                             "<skin version=\"2\">\n"
                             "  <item name=\"a\">Alpha</item>\n"
                             "  <item name=\"b\">Beta <b>bold</b></item>\n"
                             "  <empty/>\n"
                             "</skin>\n";

class XmlFile : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = dir_.File(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    // Starts xml on the standard document and returns its root.
    IXMLDOMElementPtr Open(CXmlParsing& xml) {
        xml.Initialize();
        EXPECT_EQ(1, xml.LoadFile(Write("skin.xml", kDocument).c_str()));
        return xml.GetElementPtr();
    }

private:
    qeltest::TempDir dir_;
};

// COM is fully uninitialised on this thread: a multithreaded start succeeds (it fails with
// RPC_E_CHANGED_MODE while an apartment start is still open).
bool ComIsUninitialised() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr == S_OK;
}

TEST_F(XmlFile, GettersReadNamesTextsAndAttributes) {
    CXmlParsing xml;
    IXMLDOMElementPtr root = Open(xml);
    ASSERT_TRUE(root);
    EXPECT_EQ("skin", xml.GetNodeName(root));
    EXPECT_EQ("2", xml.GetAttribute(root, const_cast<char*>("version")));
    EXPECT_EQ("Alpha", xml.GetNodeData(root, const_cast<char*>("item")));
    EXPECT_EQ("Beta bold", xml.GetNodeValue(xml.GetNode(root, const_cast<char*>("item"), 1)));

    IXMLDOMElementPtr second = xml.GetNode(root, const_cast<char*>("item"), 1);
    EXPECT_EQ("b", xml.GetAttribute(second, const_cast<char*>("name")));

    IXMLDOMNodeListPtr children = xml.GetChildNode(root);
    long count = 0;
    children->get_length(&count);
    EXPECT_EQ(3, count);
    EXPECT_EQ("empty", xml.GetNodeName(xml.GetNode(children, 2)));
    EXPECT_EQ("", xml.GetNodeValue(xml.GetNode(children, 2)));

    // Every getter fills the one text: a reference kept from one call shows the next.
    _SS<char>& text = xml.GetNodeName(root);
    xml.GetAttribute(root, const_cast<char*>("version"));
    EXPECT_EQ("2", text);

    root = nullptr;
    second = nullptr;
    children = nullptr;
    xml.Uninitialize();
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(XmlFile, MissingAttributesTagsAndEmptyPointersGiveEmptyTexts) {
    CXmlParsing xml;
    IXMLDOMElementPtr root = Open(xml);
    EXPECT_EQ("", xml.GetAttribute(root, const_cast<char*>("missing")));
    EXPECT_EQ("", xml.GetAttribute(root, nullptr));
    EXPECT_EQ("", xml.GetAttribute(IXMLDOMElementPtr(), const_cast<char*>("version")));
    EXPECT_EQ("", xml.GetNodeData(root, const_cast<char*>("nothing")));
    EXPECT_EQ("", xml.GetNodeData(IXMLDOMElementPtr(), const_cast<char*>("item")));
    EXPECT_FALSE(xml.GetNode(root, const_cast<char*>("item"), 5));
    EXPECT_FALSE(xml.GetNode(root, nullptr, 0));
    EXPECT_EQ("", xml.GetNodeName(IXMLDOMNodePtr()));
    EXPECT_EQ("", xml.GetNodeValue(IXMLDOMNodePtr()));
    root = nullptr;
    xml.Uninitialize();
}

TEST_F(XmlFile, ABadFileIsReportedThroughTheHookAndGivesZero) {
    const std::string broken = Write("broken.xml", "<skin><item>unclosed</skin>");
    const std::string missing = Write("placeholder.xml", "") + ".missing";
    qeltest::ScopedMessageBoxHook hook(IDOK);
    CXmlParsing xml;
    xml.Initialize();
    EXPECT_EQ(0, xml.LoadFile(broken.c_str()));
    EXPECT_EQ(0, xml.LoadFile(missing.c_str()));
    const auto shown = hook.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Load Xml Error : " + broken, shown[0].text);
    EXPECT_EQ("Exception occurred", shown[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), shown[0].type);
    EXPECT_EQ("Load Xml Error : " + missing, shown[1].text);
    xml.Uninitialize();
    EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(XmlFile, AQuietLoadGivesTheFailureAndShowsNoBox) {
    const std::string good = Write("skin.xml", "<skin><item>one</item></skin>");
    const std::string broken = Write("broken.xml", "<skin><item>unclosed</skin>");
    const std::string missing = Write("placeholder.xml", "") + ".missing";
    qeltest::ScopedMessageBoxHook hook(IDOK);
    CXmlParsing xml;
    xml.Initialize();
    EXPECT_TRUE(FAILED(xml.LoadFileQuietly(broken.c_str())));
    EXPECT_TRUE(FAILED(xml.LoadFileQuietly(missing.c_str())));
    EXPECT_TRUE(FAILED(xml.LoadFileQuietly(nullptr)));
    EXPECT_TRUE(hook.Shown().empty());
    ASSERT_EQ(S_OK, xml.LoadFileQuietly(good.c_str()));
    EXPECT_EQ("one", xml.GetNodeData(xml.GetElementPtr(), const_cast<char*>("item")));
    xml.Uninitialize();
}

TEST(XmlErrors, AComErrorThrownInTheLibraryIsCaughtByType) {
    CXmlParsing xml;
    xml.Initialize();
    try {
        xml.GetElementPtr(); // no document loaded
        ADD_FAILURE() << "nothing was thrown";
    } catch (const _com_error& error) {
        EXPECT_EQ(E_POINTER, error.Error());
    }
    EXPECT_THROW(xml.GetChildNode(IXMLDOMElementPtr()), _com_error);
    EXPECT_THROW(xml.GetNode(IXMLDOMNodeListPtr(), 0), _com_error);

    // An empty document still balances Initialize before it reports E_POINTER.
    try {
        xml.Uninitialize();
        ADD_FAILURE() << "nothing was thrown";
    } catch (const _com_error& error) {
        EXPECT_EQ(E_POINTER, error.Error());
    }
    EXPECT_TRUE(ComIsUninitialised());
}

TEST(XmlErrors, TheInterfaceIdentifiersMatchTheImportLibrary) {
    EXPECT_TRUE(IsEqualIID(IID_IXMLDOMNode, __uuidof(IXMLDOMNode)));
    EXPECT_TRUE(IsEqualIID(IID_IXMLDOMDocument, __uuidof(IXMLDOMDocument)));
    EXPECT_TRUE(IsEqualIID(IID_IXMLDOMNodeList, __uuidof(IXMLDOMNodeList)));
    EXPECT_TRUE(IsEqualIID(IID_IXMLDOMElement, __uuidof(IXMLDOMElement)));
}

} // namespace
