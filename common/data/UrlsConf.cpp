#include "UrlsConf.h"

#include "ServicePaths.h"
#include "XmlDom.h"

namespace {

std::wstring ConfFolder()
{
    const std::wstring program = services::ProgramFolder();
    return program.empty() ? std::wstring() : program + L"\\conf";
}

// Opens the file and moves to the element named by the key; 0 on any miss.
int OpenEntry(CXmlDom& dom, const std::wstring& path, const wchar_t* key, const wchar_t* keyAttribute,
              const wchar_t* rootName)
{
    if (!key || !keyAttribute)
        return 0;
    if (!dom.Open(path.c_str(), true, rootName))
        return 0;
    if (!dom.SelectElement(rootName))
        return 0;
    return dom.SelectByAttribute(keyAttribute, key);
}

std::wstring Lookup(const wchar_t* key)
{
    std::wstring value;
    if (!ReadUrlsConfValue(value, key))
        value.clear();
    return value;
}

}  // namespace

std::wstring GetUrlsConfPath()
{
    return services::ProgramFolder() + L"\\conf\\urls.conf";
}

int ReadUrlsConfValue(std::wstring& value, const wchar_t* key, const wchar_t* file, const wchar_t* valueAttribute,
                      const wchar_t* keyAttribute, const wchar_t* rootName)
{
    const std::wstring folder = ConfFolder();
    if (folder.empty() || !file || !valueAttribute)
        return 0;
    try {
        CXmlDom dom;
        if (!OpenEntry(dom, folder + L"\\" + file, key, keyAttribute, rootName))
            return 0;
        return dom.GetAttribString(valueAttribute, value);
    } catch (const _com_error&) {
        return 0;
    }
}

int ReadUrlsConfInt(int& value, const wchar_t* key, const wchar_t* file, const wchar_t* valueAttribute,
                    const wchar_t* keyAttribute, const wchar_t* rootName)
{
    std::wstring text;
    if (!ReadUrlsConfValue(text, key, file, valueAttribute, keyAttribute, rootName))
        return 0;
    value = _wtoi(text.c_str());
    return 1;
}

namespace {

int WriteEntry(const std::wstring& path, const wchar_t* value, const wchar_t* key, const wchar_t* valueAttribute,
               const wchar_t* keyAttribute, const wchar_t* innerElement, const wchar_t* outerElement)
{
    try {
        CXmlDom dom;
        if (!dom.Open(path.c_str(), true, outerElement) || !dom.SelectElement(outerElement))
            return 0;
        if (innerElement && !dom.SelectElement(innerElement))
            return 0;
        if (!key || !keyAttribute || !dom.SelectByAttribute(keyAttribute, key))
            return 0;
        if (!dom.SetAttribString(valueAttribute, value))
            return 0;
        dom.Save();
        dom.Close();
        return 1;
    } catch (const _com_error&) {
        return 0;
    }
}

}  // namespace

int WriteUrlsConfValue(const wchar_t* value, const wchar_t* key, const wchar_t* file, const wchar_t* valueAttribute,
                       const wchar_t* keyAttribute, const wchar_t* rootName)
{
    const std::wstring folder = ConfFolder();
    if (folder.empty() || !file || !valueAttribute)
        return 0;
    return WriteEntry(folder + L"\\" + file, value, key, valueAttribute, keyAttribute, nullptr, rootName);
}

int WriteThemeValue(const wchar_t* value, const wchar_t* key, const wchar_t* file, const wchar_t* valueAttribute,
                    const wchar_t* keyAttribute, const wchar_t* innerElement, const wchar_t* outerElement)
{
    if (!file || !valueAttribute || !innerElement || !outerElement)
        return 0;
    const std::wstring path = services::ExecutableFolder() + L"\\theme\\default\\" + file;
    return WriteEntry(path, value, key, valueAttribute, keyAttribute, innerElement, outerElement);
}

std::wstring GetNavHomeUrl() { return Lookup(L"navhome"); }
std::wstring GetNavHomeTitle() { return Lookup(L"navtitle"); }
std::wstring GetHomePageUrl() { return Lookup(L"homepage"); }
std::wstring GetHelpUrl() { return Lookup(L"help"); }
std::wstring GetUpdateInfoUrl() { return Lookup(L"update"); }

std::wstring GetHourBoxXml()
{
    return L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><quommhour_box></quommhour_box>";
}

std::wstring AddXmlDeclaration(const std::wstring& body, const wchar_t* version, const wchar_t* encoding)
{
    return std::wstring(L"<?xml version=\"") + (version ? version : L"") + L"\" encoding=\"" +
           (encoding ? encoding : L"") + L"\"?>\r\n" + body;
}
