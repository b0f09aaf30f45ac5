#include "XmlDom.h"

#include "DataFile.h"
#include "ServiceUi.h"

_COM_SMARTPTR_TYPEDEF(IStream, __uuidof(IStream));

namespace {

bool IsEmpty(const wchar_t* text)
{
    return !text || !*text;
}

std::wstring ToText(BSTR text)
{
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

// Takes over a BSTR an interface returned.
std::wstring TakeText(BSTR text)
{
    std::wstring result = ToText(text);
    ::SysFreeString(text);
    return result;
}

bool FileExists(const wchar_t* path)
{
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// The file is read once, for the depth check and then for the parser. A file
// nested deeper than any real one would run the parser out of stack; it
// counts as unreadable, as does one that cannot be read.
HRESULT LoadShallowFile(IXMLDOMDocument* document, const wchar_t* path, VARIANT_BOOL* loaded)
{
    std::string bytes;
    if (!datafile::ReadBytes(path, &bytes, datafile::kMaxListBytes) || datafile::FileNestsTooDeep(bytes))
        return E_FAIL;
    IStreamPtr stream;
    HRESULT hr = ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr))
        hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    const LARGE_INTEGER start{};
    if (SUCCEEDED(hr))
        hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return SUCCEEDED(hr) ? document->load(_variant_t(static_cast<IUnknown*>(stream)), loaded) : hr;
}

std::wstring AttributePredicate(const wchar_t* attribute, const std::wstring& value)
{
    return std::wstring(L"@") + attribute + L"=\"" + value + L"\"";
}

}  // namespace

CXmlDom::CXmlDom() = default;

CXmlDom::~CXmlDom()
{
    Close();
}

int CXmlDom::CreateDocument()
{
    IXMLDOMDocumentPtr document;
    if (FAILED(document.CreateInstance(kClsidMsxmlDomDocument, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER)))
        return 0;
    if (FAILED(document->put_async(VARIANT_FALSE)))
        return 0;
    document_ = document;
    return 1;
}

int CXmlDom::Open(const wchar_t* path, bool mustExist, const wchar_t* rootName)
{
    if (IsEmpty(path))
        return 0;
    Close();
    if (!CreateDocument())
        return 0;

    if (FileExists(path)) {
        VARIANT_BOOL loaded = VARIANT_FALSE;
        const HRESULT hr = LoadShallowFile(document_, path, &loaded);
        if ((FAILED(hr) || loaded != VARIANT_TRUE) && mustExist) {
            Close();
            return 0;
        }
        if (loaded != VARIANT_TRUE) {
            // An unreadable file starts over as an empty document.
            document_ = nullptr;
            if (!CreateDocument())
                return 0;
        }
    } else if (mustExist) {
        Close();
        return 0;
    }
    if (!FinishLoad(rootName, true))
        return 0;
    fileName_ = path;
    return 1;
}

int CXmlDom::OpenShared(const CXmlDom& other)
{
    if (&other == this || !other.document_)
        return 0;
    Close();
    document_ = other.document_;
    root_ = other.root_;
    current_ = root_;
    fileName_ = other.fileName_;
    return 1;
}

int CXmlDom::LoadXml(const wchar_t* xml)
{
    return LoadXml(_bstr_t(xml ? xml : L""));
}

int CXmlDom::LoadXml(const _bstr_t& xml)
{
    Close();
    if (!CreateDocument())
        return 0;
    if (xml.length() > 0) {
        VARIANT_BOOL loaded = VARIANT_FALSE;
        if (datafile::NestsTooDeep(std::wstring_view(static_cast<const wchar_t*>(xml), xml.length())) ||
            FAILED(document_->loadXML(xml, &loaded)) || loaded != VARIANT_TRUE) {
            Close();
            return 0;
        }
    }
    if (!FinishLoad(nullptr, false))
        return 0;
    fileName_.clear();
    return 1;
}

int CXmlDom::FinishLoad(const wchar_t* rootName, bool addDeclaration)
{
    IXMLDOMElementPtr rootElement;
    if (FAILED(document_->get_documentElement(&rootElement)) || !rootElement) {
        IXMLDOMElementPtr created;
        const _bstr_t name(IsEmpty(rootName) ? L"root" : rootName);
        if (FAILED(document_->createElement(name, &created)) || !created) {
            Close();
            return 0;
        }
        if (addDeclaration)
            SetDeclaration(L"UTF-8", L"1.0");
        IXMLDOMNodePtr appended;
        if (FAILED(document_->appendChild(created, &appended))) {
            Close();
            return 0;
        }
        rootElement = created;
    }
    root_ = rootElement;
    current_ = root_;
    IXMLDOMDocument2Ptr document2(document_);
    if (document2)
        document2->setProperty(_bstr_t(L"SelectionLanguage"), _variant_t(L"XPath"));
    return 1;
}

int CXmlDom::Save()
{
    if (!document_ || !root_ || fileName_.empty())
        return 0;
    return SUCCEEDED(document_->save(_variant_t(fileName_.c_str()))) ? 1 : 0;
}

int CXmlDom::SaveAs(const wchar_t* path)
{
    if (!document_ || !root_ || IsEmpty(path))
        return 0;
    return SUCCEEDED(document_->save(_variant_t(path))) ? 1 : 0;
}

int CXmlDom::Close()
{
    current_ = nullptr;
    root_ = nullptr;
    document_ = nullptr;
    return 1;
}

ULONGLONG CXmlDom::GetSavedSize()
{
    if (!document_)
        return 0;
    IStreamPtr stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return 0;
    if (FAILED(document_->save(_variant_t(static_cast<IUnknown*>(stream)))))
        return 0;
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return 0;
    return stat.cbSize.QuadPart;
}

int CXmlDom::SaveToBuffer(BYTE* buffer, ULONGLONG* count)
{
    if (!document_ || !buffer || !count)
        return 0;
    IStreamPtr stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return 0;
    if (FAILED(document_->save(_variant_t(static_cast<IUnknown*>(stream)))))
        return 0;
    LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
        return 0;
    ULONGLONG total = 0;
    while (total < *count) {
        const ULONGLONG left = *count - total;
        const ULONG chunk = left > 0x10000000 ? 0x10000000 : static_cast<ULONG>(left);
        ULONG read = 0;
        if (FAILED(stream->Read(buffer + total, chunk, &read)) || read == 0)
            break;
        total += read;
    }
    *count = total;
    return total > 0 ? 1 : 0;
}

int CXmlDom::SetDeclaration(const wchar_t* encoding, const wchar_t* version)
{
    if (!document_)
        return 0;
    const std::wstring data = std::wstring(L"version=\"") + (version ? version : L"") + L"\" encoding=\"" +
                              (encoding ? encoding : L"") + L"\"";
    IXMLDOMProcessingInstructionPtr instruction;
    if (FAILED(document_->createProcessingInstruction(_bstr_t(L"xml"), _bstr_t(data.c_str()), &instruction)) ||
        !instruction)
        return 0;
    IXMLDOMNodePtr first;
    document_->get_firstChild(&first);
    IXMLDOMNodePtr result;
    if (!first)
        return SUCCEEDED(document_->appendChild(instruction, &result)) ? 1 : 0;

    DOMNodeType type = NODE_INVALID;
    first->get_nodeType(&type);
    if (type == NODE_PROCESSING_INSTRUCTION && NodeName(first) == L"xml") {
        // Two declarations cannot stand side by side: swap the old one out.
        IXMLDOMNodePtr old;
        return SUCCEEDED(document_->replaceChild(instruction, first, &old)) ? 1 : 0;
    }
    return SUCCEEDED(document_->insertBefore(instruction, _variant_t(static_cast<IUnknown*>(first)), &result)) ? 1
                                                                                                             : 0;
}

// ---- cursor -------------------------------------------------------------

int CXmlDom::MoveTo(IXMLDOMNodePtr node)
{
    if (!node)
        return 0;
    current_ = node;
    return 1;
}

int CXmlDom::MoveToRoot()
{
    if (!root_ || !current_)
        return 0;
    current_ = root_;
    return 1;
}

int CXmlDom::MoveToParent()
{
    if (!document_ || !root_ || !current_)
        return 0;
    // An attribute or a removed node has no parent to move to.
    IXMLDOMNodePtr parent;
    if (current_->get_parentNode(&parent) != S_OK || !parent)
        return 0;
    if (IsRoot(current_))
        return 1;
    return MoveTo(parent);
}

// One step from a node to a relative of it (first child, next sibling, ...).
IXMLDOMNodePtr CXmlDom::Relative(const IXMLDOMNodePtr& node, NodeStep step)
{
    IXMLDOMNodePtr relative;
    if (node)
        (node.GetInterfacePtr()->*step)(&relative);
    return relative;
}

int CXmlDom::MoveAlong(NodeStep step)
{
    return current_ ? MoveTo(Relative(current_, step)) : 0;
}

int CXmlDom::MoveAlongTo(NodeStep step, const wchar_t* name)
{
    if (!current_ || !name)
        return 0;
    for (IXMLDOMNodePtr node = Relative(current_, step); node; node = Relative(node, step)) {
        if (NodeName(node) == name)
            return MoveTo(node);
    }
    return 0;
}

int CXmlDom::MoveToFirstChild() { return MoveAlong(&IXMLDOMNode::get_firstChild); }
int CXmlDom::MoveToLastChild() { return MoveAlong(&IXMLDOMNode::get_lastChild); }
int CXmlDom::MoveToNextSibling() { return MoveAlong(&IXMLDOMNode::get_nextSibling); }
int CXmlDom::MoveToPreviousSibling() { return MoveAlong(&IXMLDOMNode::get_previousSibling); }

int CXmlDom::MoveToNextSiblingNamed(const wchar_t* name)
{
    return MoveAlongTo(&IXMLDOMNode::get_nextSibling, name);
}

int CXmlDom::MoveToPreviousSiblingNamed(const wchar_t* name)
{
    return MoveAlongTo(&IXMLDOMNode::get_previousSibling, name);
}

IXMLDOMNodePtr CXmlDom::SelectFirst(const wchar_t* xpath)
{
    IXMLDOMNodePtr node;
    if (!current_ || IsEmpty(xpath))
        return node;
    // An expression MSXML rejects selects nothing.
    if (current_->selectSingleNode(_bstr_t(xpath), &node) != S_OK)
        node = nullptr;
    return node;
}

int CXmlDom::SelectNode(const wchar_t* xpath)
{
    return MoveTo(SelectFirst(xpath));
}

int CXmlDom::SelectElement(const wchar_t* name)
{
    if (!current_ || IsEmpty(name))
        return 0;
    if (NodeName(current_) == name)
        return 1;
    return SelectNode(name);
}

int CXmlDom::SelectByAttribute(const wchar_t* attribute, const wchar_t* value)
{
    if (!value || !attribute)
        return 0;
    return SelectNode((L".//*[" + AttributePredicate(attribute, value) + L"]").c_str());
}

int CXmlDom::SelectByAttributeInt(const wchar_t* attribute, int value)
{
    if (!attribute)
        return 0;
    return SelectNode((L".//*[" + AttributePredicate(attribute, std::to_wstring(value)) + L"]").c_str());
}

int CXmlDom::SelectByNameAttribute(const wchar_t* element, const wchar_t* attribute, const wchar_t* value)
{
    if (!value || !attribute || !element)
        return 0;
    return SelectNode((std::wstring(L".//") + element + L"[" + AttributePredicate(attribute, value) + L"]").c_str());
}

int CXmlDom::SelectByNameAttributeInt(const wchar_t* element, const wchar_t* attribute, int value)
{
    if (!attribute || !element)
        return 0;
    return SelectNode(
        (std::wstring(L".//") + element + L"[" + AttributePredicate(attribute, std::to_wstring(value)) + L"]")
            .c_str());
}

int CXmlDom::SelectByAttributes(const wchar_t* element, const std::map<std::wstring, std::wstring>& attributes)
{
    if (attributes.empty() || !element)
        return 0;
    std::wstring predicates;
    for (const auto& [name, value] : attributes) {
        if (!predicates.empty())
            predicates += L" and ";
        predicates += AttributePredicate(name.c_str(), value);
    }
    return SelectNode((std::wstring(L".//") + element + L"[" + predicates + L"]").c_str());
}

// ---- reading ------------------------------------------------------------

std::wstring CXmlDom::NodeName(IXMLDOMNode* node)
{
    BSTR name = nullptr;
    if (!node || FAILED(node->get_nodeName(&name)))
        return std::wstring();
    return TakeText(name);
}

int CXmlDom::NodeText(IXMLDOMNode* node, std::wstring& text)
{
    BSTR value = nullptr;
    if (!node || FAILED(node->get_text(&value)))
        return 0;
    text = TakeText(value);
    return 1;
}

int CXmlDom::GetNodeName(std::wstring& name)
{
    if (!current_)
        return 0;
    BSTR value = nullptr;
    if (FAILED(current_->get_nodeName(&value)))
        return 0;
    name = TakeText(value);
    return 1;
}

int CXmlDom::GetAttribVariant(const wchar_t* attribute, _variant_t& value)
{
    if (!current_ || IsEmpty(attribute))
        return 0;
    IXMLDOMElementPtr element(current_);
    if (!element)
        return 0;
    _variant_t read;
    if (element->getAttribute(_bstr_t(attribute), &read) != S_OK || read.vt == VT_NULL || read.vt == VT_EMPTY)
        return 0;
    value = read;
    return 1;
}

int CXmlDom::GetAttribString(const wchar_t* attribute, std::wstring& value)
{
    _variant_t read;
    if (!GetAttribVariant(attribute, read))
        return 0;
    if (read.vt != VT_BSTR)
        read.ChangeType(VT_BSTR);
    value = ToText(read.bstrVal);
    return 1;
}

// Reads and converts with the user's locale; an empty value reads as
// present but leaves the caller's value alone (VT_EMPTY).
int CXmlDom::ReadConverted(const wchar_t* attribute, VARTYPE type, _variant_t& converted)
{
    _variant_t read;
    if (!GetAttribVariant(attribute, read))
        return 0;
    if (read.vt == VT_BSTR && ::SysStringLen(read.bstrVal) == 0) {
        converted.Clear();
        return 1;
    }
    read.ChangeType(type);  // raises _com_error for text that is no number
    converted = read;
    return 1;
}

int CXmlDom::GetAttribInt(const wchar_t* attribute, int& value)
{
    _variant_t converted;
    if (!ReadConverted(attribute, VT_I4, converted))
        return 0;
    if (converted.vt == VT_I4)
        value = converted.lVal;
    return 1;
}

int CXmlDom::GetAttribLong(const wchar_t* attribute, long& value)
{
    int read = static_cast<int>(value);
    if (!GetAttribInt(attribute, read))
        return 0;
    value = read;
    return 1;
}

int CXmlDom::GetAttribUInt(const wchar_t* attribute, unsigned int& value)
{
    _variant_t converted;
    if (!ReadConverted(attribute, VT_UI4, converted))
        return 0;
    if (converted.vt == VT_UI4)
        value = converted.ulVal;
    return 1;
}

int CXmlDom::GetAttribFloat(const wchar_t* attribute, float& value)
{
    _variant_t converted;
    if (!ReadConverted(attribute, VT_R4, converted))
        return 0;
    if (converted.vt == VT_R4)
        value = converted.fltVal;
    return 1;
}

int CXmlDom::GetAttribUInt64(const wchar_t* attribute, ULONGLONG& value)
{
    _variant_t read;
    if (!GetAttribVariant(attribute, read) || read.vt != VT_BSTR)
        return 0;
    ULONGLONG number = 0;
    for (const wchar_t* p = read.bstrVal; p && *p >= L'0' && *p <= L'9'; ++p) {
        const unsigned digit = static_cast<unsigned>(*p - L'0');
        if (number > (~0ULL - digit) / 10) {
            number = ~0ULL;  // too many digits: the largest value, not a wrapped one
            break;
        }
        number = number * 10 + digit;
    }
    value = number;
    return 1;
}

int CXmlDom::GetAttribBuffer(const wchar_t* attribute, wchar_t* buffer, size_t length)
{
    if (!buffer || length == 0)
        return 0;
    std::wstring value;
    if (!GetAttribString(attribute, value))
        return 0;
    // Cut to the caller's buffer, always terminated.
    const size_t copied = value.size() < length ? value.size() : length - 1;
    value.copy(buffer, copied);
    buffer[copied] = L'\0';
    return 1;
}

int CXmlDom::GetText(std::wstring& text)
{
    return NodeText(current_, text);
}

namespace {

template <typename T>
int TextToNumber(const std::wstring& text, VARTYPE type, T& value)
{
    if (text.empty()) {
        value = 0;
        return 1;
    }
    _variant_t number(text.c_str());
    number.ChangeType(type);
    if (type == VT_I4)
        value = static_cast<T>(number.lVal);
    else
        value = static_cast<T>(number.fltVal);
    return 1;
}

}  // namespace

int CXmlDom::GetTextInt(int& value)
{
    std::wstring text;
    return GetText(text) ? TextToNumber(text, VT_I4, value) : 0;
}

int CXmlDom::GetTextFloat(float& value)
{
    std::wstring text;
    return GetText(text) ? TextToNumber(text, VT_R4, value) : 0;
}

int CXmlDom::GetFirstChildText(std::wstring& text)
{
    if (!current_)
        return 0;
    IXMLDOMNodePtr child;
    current_->get_firstChild(&child);
    return child ? NodeText(child, text) : 0;
}

int CXmlDom::GetChildText(const wchar_t* xpath, std::wstring& text)
{
    IXMLDOMNodePtr node = SelectFirst(xpath);
    return node ? NodeText(node, text) : 0;
}

int CXmlDom::GetChildTextInt(const wchar_t* xpath, int& value)
{
    std::wstring text;
    return GetChildText(xpath, text) ? TextToNumber(text, VT_I4, value) : 0;
}

int CXmlDom::GetChildTextFloat(const wchar_t* xpath, float& value)
{
    std::wstring text;
    return GetChildText(xpath, text) ? TextToNumber(text, VT_R4, value) : 0;
}

int CXmlDom::GetXml(std::wstring& xml)
{
    BSTR text = nullptr;
    if (!current_ || FAILED(current_->get_xml(&text)))
        return 0;
    xml = TakeText(text);
    return 1;
}

int CXmlDom::GetChildXml(const wchar_t* xpath, std::wstring& xml)
{
    IXMLDOMNodePtr node = SelectFirst(xpath);
    BSTR text = nullptr;
    if (!node || FAILED(node->get_xml(&text)))
        return 0;
    xml = TakeText(text);
    return 1;
}

int CXmlDom::GetDocumentXml(std::wstring& xml)
{
    BSTR text = nullptr;
    if (!document_ || FAILED(document_->get_xml(&text)))
        return 0;
    xml = TakeText(text);
    return 1;
}

int CXmlDom::GetRootXml(std::wstring& xml)
{
    BSTR text = nullptr;
    if (!root_ || FAILED(root_->get_xml(&text)))
        return 0;
    xml = TakeText(text);
    return 1;
}

int CXmlDom::GetChildCount()
{
    if (!current_)
        return 0;
    IXMLDOMNodeListPtr children;
    long count = 0;
    if (FAILED(current_->get_childNodes(&children)) || !children || FAILED(children->get_length(&count)))
        return 0;
    return static_cast<int>(count);
}

int CXmlDom::GetNodeCount(const wchar_t* xpath)
{
    if (!current_ || IsEmpty(xpath))
        return 0;
    IXMLDOMNodeListPtr nodes;
    long count = 0;
    if (current_->selectNodes(_bstr_t(xpath), &nodes) != S_OK || !nodes || FAILED(nodes->get_length(&count)))
        return 0;
    return static_cast<int>(count);
}

bool CXmlDom::HasChildElements()
{
    if (!current_)
        return false;
    const int count = GetChildCount();
    if (count == 0)
        return false;
    if (count > 1)
        return true;
    IXMLDOMNodePtr only;
    current_->get_firstChild(&only);
    DOMNodeType type = NODE_INVALID;
    if (only)
        only->get_nodeType(&type);
    return type != NODE_TEXT;
}

// MSXML may hand out a new wrapper object for the same node, so the root is
// recognised by its place (the document's child), not by pointer identity.
bool CXmlDom::IsRoot(IXMLDOMNode* node)
{
    IXMLDOMNodePtr parent;
    if (!node || node->get_parentNode(&parent) != S_OK || !parent)
        return true;
    DOMNodeType type = NODE_INVALID;
    parent->get_nodeType(&type);
    return type == NODE_DOCUMENT;
}

bool CXmlDom::HasElementChildren(IXMLDOMNode* node)
{
    IXMLDOMNodePtr child;
    if (node)
        node->get_firstChild(&child);
    while (child) {
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_ELEMENT)
            return true;
        IXMLDOMNodePtr next;
        child->get_nextSibling(&next);
        child = next;
    }
    return false;
}

// ---- writing ------------------------------------------------------------

int CXmlDom::SetAttribVariant(const wchar_t* attribute, const _variant_t& value)
{
    if (!document_ || !current_ || IsEmpty(attribute))
        return 0;
    IXMLDOMAttributePtr node;
    if (FAILED(document_->createAttribute(_bstr_t(attribute), &node)) || !node)
        return 0;
    if (FAILED(node->put_value(value)))
        return 0;
    IXMLDOMNamedNodeMapPtr map;
    if (current_->get_attributes(&map) != S_OK || !map)
        return 0;
    IXMLDOMNodePtr replaced;
    map->setNamedItem(node, &replaced);
    return 1;
}

int CXmlDom::SetAttribString(const wchar_t* attribute, const wchar_t* value)
{
    return SetAttribVariant(attribute, _variant_t(value ? value : L""));
}

int CXmlDom::SetAttribInt(const wchar_t* attribute, int value)
{
    return SetAttribVariant(attribute, _variant_t(static_cast<long>(value)));
}

int CXmlDom::SetAttribUInt(const wchar_t* attribute, unsigned int value)
{
    _variant_t variant;
    variant.vt = VT_UI4;
    variant.ulVal = value;
    return SetAttribVariant(attribute, variant);
}

int CXmlDom::SetAttribFloat(const wchar_t* attribute, float value)
{
    return SetAttribVariant(attribute, _variant_t(value));
}

int CXmlDom::SetText(const wchar_t* text)
{
    if (!current_)
        return 0;
    return SUCCEEDED(current_->put_text(_bstr_t(text ? text : L""))) ? 1 : 0;
}

int CXmlDom::AppendCData(const wchar_t* text)
{
    if (!document_ || !current_)
        return 0;
    IXMLDOMCDATASectionPtr section;
    if (FAILED(document_->createCDATASection(_bstr_t(text ? text : L""), &section)) || !section)
        return 0;
    IXMLDOMNodePtr appended;
    return SUCCEEDED(current_->appendChild(section, &appended)) ? 1 : 0;
}

int CXmlDom::AppendText(IXMLDOMNode* parent, const std::wstring& text)
{
    IXMLDOMTextPtr node;
    if (FAILED(document_->createTextNode(_bstr_t(text.c_str()), &node)) || !node)
        return 0;
    IXMLDOMNodePtr appended;
    return SUCCEEDED(parent->appendChild(node, &appended)) ? 1 : 0;
}

// Element levels from the root down to the current node, the root being 1.
int CXmlDom::ElementDepth()
{
    int depth = 0;
    IXMLDOMNodePtr node = current_;
    while (node) {
        DOMNodeType type = NODE_INVALID;
        node->get_nodeType(&type);
        if (type == NODE_ELEMENT)
            ++depth;
        if (IsRoot(node))
            break;
        IXMLDOMNodePtr parent;
        node->get_parentNode(&parent);
        node = parent;
    }
    return depth;
}

int CXmlDom::AddChild(const wchar_t* name, const wchar_t* value, bool reuse)
{
    if (!document_ || !current_ || IsEmpty(name))
        return 0;
    IXMLDOMNodePtr child = reuse ? SelectFirst(name) : IXMLDOMNodePtr();
    const bool created = !child;
    if (created) {
        IXMLDOMElementPtr element;
        if (FAILED(document_->createElement(_bstr_t(name), &element)) || !element)
            return 0;
        child = element;
    }
    if (!IsEmpty(value) && FAILED(child->put_text(_bstr_t(value))))
        return 0;

    if (created) {
        // Tabs and line breaks keep the saved file readable.
        const int depth = ElementDepth();
        std::wstring before;
        if (HasChildElements()) {
            IXMLDOMNodePtr last;
            current_->get_lastChild(&last);
            DOMNodeType type = NODE_INVALID;
            if (last)
                last->get_nodeType(&type);
            before = type == NODE_TEXT ? L"\t" : L"\r\n\t";
        } else {
            before = L"\r\n" + std::wstring(static_cast<size_t>(depth), L'\t');
        }
        if (!AppendText(current_, before))
            return 0;
        IXMLDOMNodePtr appended;
        if (FAILED(current_->appendChild(child, &appended)))
            return 0;
        AppendText(current_, L"\r\n" + std::wstring(static_cast<size_t>(depth > 0 ? depth - 1 : 0), L'\t'));
    }
    current_ = child;
    return 1;
}

int CXmlDom::AddChildString(const wchar_t* name, const wchar_t* value, bool reuse)
{
    return AddChild(name, value, reuse);
}

int CXmlDom::AddChildInt(const wchar_t* name, int value, bool reuse)
{
    return AddChild(name, std::to_wstring(value).c_str(), reuse);
}

int CXmlDom::AddChildFloat(const wchar_t* name, float value, bool reuse)
{
    _variant_t text(value);
    text.ChangeType(VT_BSTR);
    return AddChild(name, text.bstrVal, reuse);
}

int CXmlDom::RemoveCurrent()
{
    if (!current_ || IsRoot(current_))
        return 0;
    IXMLDOMNodePtr parent;
    IXMLDOMNodePtr next;
    current_->get_parentNode(&parent);
    current_->get_nextSibling(&next);
    if (!parent)
        return 0;
    IXMLDOMNodePtr removed;
    if (FAILED(parent->removeChild(current_, &removed)))
        return 0;
    current_ = parent;
    if (!HasElementChildren(parent)) {
        // Drop the indentation left behind (node by node: clearing the text
        // wholesale frees nodes MSXML may still hand out).
        RemoveAllChildren(parent);
        next = nullptr;
    }
    if (next)
        current_ = next;
    return 1;
}

int CXmlDom::RemoveChildren()
{
    if (!current_ || !HasChildElements())
        return 0;
    RemoveAllChildren(current_);
    return 1;
}

void CXmlDom::RemoveAllChildren(IXMLDOMNode* node)
{
    IXMLDOMNodePtr child;
    node->get_firstChild(&child);
    while (child) {
        IXMLDOMNodePtr removed;
        if (FAILED(node->removeChild(child, &removed)))
            break;
        child = nullptr;
        node->get_firstChild(&child);
    }
}

void CXmlDom::ShowAttributes()
{
    if (!root_)
        return;
    try {
        ShowAttributesOf(root_);
        IXMLDOMNodeListPtr elements;
        if (root_->selectNodes(_bstr_t(L".//*"), &elements) != S_OK || !elements)
            return;
        long count = 0;
        elements->get_length(&count);
        for (long i = 0; i < count; ++i) {
            IXMLDOMNodePtr element;
            if (SUCCEEDED(elements->get_item(i, &element)) && element)
                ShowAttributesOf(element);
        }
    } catch (const _com_error&) {
        // A failing walk ends quietly: this is a diagnostic view.
    }
}

void CXmlDom::ShowAttributesOf(IXMLDOMNode* node)
{
    IXMLDOMNamedNodeMapPtr map;
    if (node->get_attributes(&map) != S_OK || !map)
        return;
    long count = 0;
    map->get_length(&count);
    if (count == 0)
        return;
    std::wstring text;
    for (long i = 0; i < count; ++i) {
        IXMLDOMNodePtr attribute;
        if (FAILED(map->get_item(i, &attribute)) || !attribute)
            continue;
        _variant_t value;
        attribute->get_nodeValue(&value);
        if (value.vt != VT_BSTR)
            value.ChangeType(VT_BSTR);
        text += NodeName(attribute) + L"=" + ToText(value.bstrVal) + L"    ";
    }
    GetServiceUi().ShowMessage(text);
}
