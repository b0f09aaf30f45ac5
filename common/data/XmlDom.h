#pragma once
#include "MsxmlIds.h"

#include <map>
#include <string>

// An MSXML document with a cursor, the current node, from which every XPath
// selection, read and write starts. Missing files, nodes and attributes give
// 0 and leave outputs untouched; a value that does not convert raises
// _com_error. COM must be initialised on the calling thread.
class CXmlDom {
public:
    CXmlDom();
    ~CXmlDom();
    CXmlDom(const CXmlDom&) = delete;
    CXmlDom& operator=(const CXmlDom&) = delete;

    // Life cycle and files.
    int Open(const wchar_t* path, bool mustExist, const wchar_t* rootName);
    // The document `other` holds, with a cursor of its own at the root;
    // for documents that are only read. 0 when `other` holds none.
    int OpenShared(const CXmlDom& other);
    int LoadXml(const wchar_t* xml);
    int LoadXml(const _bstr_t& xml);
    int Save();
    int SaveAs(const wchar_t* path);
    int Close();
    ULONGLONG GetSavedSize();
    int SaveToBuffer(BYTE* buffer, ULONGLONG* count);
    int SetDeclaration(const wchar_t* encoding, const wchar_t* version);

    // Cursor moves; 0 leaves the current node unchanged.
    int MoveToRoot();
    int MoveToParent();
    int MoveToFirstChild();
    int MoveToLastChild();
    int MoveToNextSibling();
    int MoveToPreviousSibling();
    int MoveToNextSiblingNamed(const wchar_t* name);
    int MoveToPreviousSiblingNamed(const wchar_t* name);
    int SelectNode(const wchar_t* xpath);
    int SelectElement(const wchar_t* name);
    int SelectByAttribute(const wchar_t* attribute, const wchar_t* value);
    int SelectByAttributeInt(const wchar_t* attribute, int value);
    int SelectByNameAttribute(const wchar_t* element, const wchar_t* attribute, const wchar_t* value);
    int SelectByNameAttributeInt(const wchar_t* element, const wchar_t* attribute, int value);
    int SelectByAttributes(const wchar_t* element, const std::map<std::wstring, std::wstring>& attributes);

    // Reading.
    int GetNodeName(std::wstring& name);
    int GetAttribVariant(const wchar_t* attribute, _variant_t& value);
    int GetAttribString(const wchar_t* attribute, std::wstring& value);
    int GetAttribInt(const wchar_t* attribute, int& value);
    int GetAttribLong(const wchar_t* attribute, long& value);
    int GetAttribUInt(const wchar_t* attribute, unsigned int& value);
    int GetAttribFloat(const wchar_t* attribute, float& value);
    int GetAttribUInt64(const wchar_t* attribute, ULONGLONG& value);
    int GetAttribBuffer(const wchar_t* attribute, wchar_t* buffer, size_t length);
    int GetText(std::wstring& text);
    int GetTextInt(int& value);
    int GetTextFloat(float& value);
    int GetFirstChildText(std::wstring& text);
    int GetChildText(const wchar_t* xpath, std::wstring& text);
    int GetChildTextInt(const wchar_t* xpath, int& value);
    int GetChildTextFloat(const wchar_t* xpath, float& value);
    int GetXml(std::wstring& xml);
    int GetChildXml(const wchar_t* xpath, std::wstring& xml);
    int GetDocumentXml(std::wstring& xml);
    int GetRootXml(std::wstring& xml);
    int GetChildCount();
    int GetNodeCount(const wchar_t* xpath);
    bool HasChildElements();

    // Writing, on the current node.
    int SetAttribVariant(const wchar_t* attribute, const _variant_t& value);
    int SetAttribString(const wchar_t* attribute, const wchar_t* value);
    int SetAttribInt(const wchar_t* attribute, int value);
    int SetAttribUInt(const wchar_t* attribute, unsigned int value);
    int SetAttribFloat(const wchar_t* attribute, float value);
    int SetText(const wchar_t* text);
    int AppendCData(const wchar_t* text);
    int AddChild(const wchar_t* name, const wchar_t* value, bool reuse);
    int AddChildString(const wchar_t* name, const wchar_t* value, bool reuse);
    int AddChildInt(const wchar_t* name, int value, bool reuse);
    int AddChildFloat(const wchar_t* name, float value, bool reuse);
    int RemoveCurrent();
    int RemoveChildren();
    void ShowAttributes();

    const std::wstring& FileName() const { return fileName_; }
    bool IsOpen() const { return document_ != nullptr; }

private:
    int CreateDocument();
    int FinishLoad(const wchar_t* rootName, bool addDeclaration);
    IXMLDOMNodePtr SelectFirst(const wchar_t* xpath);
    int MoveTo(IXMLDOMNodePtr node);
    using NodeStep = HRESULT (__stdcall IXMLDOMNode::*)(IXMLDOMNode**);
    static IXMLDOMNodePtr Relative(const IXMLDOMNodePtr& node, NodeStep step);
    int MoveAlong(NodeStep step);
    int MoveAlongTo(NodeStep step, const wchar_t* name);
    int ReadConverted(const wchar_t* attribute, VARTYPE type, _variant_t& converted);
    int AppendText(IXMLDOMNode* parent, const std::wstring& text);
    int ElementDepth();
    static bool IsRoot(IXMLDOMNode* node);
    static void RemoveAllChildren(IXMLDOMNode* node);
    static bool HasElementChildren(IXMLDOMNode* node);
    static std::wstring NodeName(IXMLDOMNode* node);
    static int NodeText(IXMLDOMNode* node, std::wstring& text);
    void ShowAttributesOf(IXMLDOMNode* node);

    std::wstring fileName_;
    IXMLDOMDocumentPtr document_;
    IXMLDOMNodePtr root_;
    IXMLDOMNodePtr current_;
};
