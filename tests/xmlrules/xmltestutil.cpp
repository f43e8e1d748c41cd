#include "xmltestutil.h"

namespace zqxmltest {

CZQComPtr<IXMLDOMDocument> Parse(const std::wstring& xml) {
    CZQComPtr<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                document.PutVoid())))
        return document;
    CZQBstr text(SysAllocString(xml.c_str()));
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (document->loadXML(text.Get(), &ok) != S_OK || !ok) document.Reset();
    return document;
}

CZQComPtr<IXMLDOMNode> Select(IXMLDOMNode* pContext, const wchar_t* pattern) {
    CZQComPtr<IXMLDOMNode> node;
    CZQBstr text(SysAllocString(pattern));
    if (pContext->selectSingleNode(text.Get(), node.Put()) != S_OK) node.Reset();
    return node;
}

CZQComPtr<IXMLDOMNode> Select(IXMLDOMDocument* pDocument, const wchar_t* pattern) {
    return Select(static_cast<IXMLDOMNode*>(pDocument), pattern);
}

TempFile::TempFile(const std::string& utf8) {
    wchar_t dir[MAX_PATH] = {};
    wchar_t name[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"zqx", 0, name);
    m_path = name;
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

TempFile::~TempFile() { DeleteFileW(m_path.c_str()); }

std::string HelperFile(const std::string& helper) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<device><software><component><name>Tarnix</name>" + helper +
           "</component></software></device>\n";
}

DWORD RunWithCountry(const wchar_t* code, const wchar_t* filter) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return static_cast<DWORD>(-1);
    wchar_t saved[32] = {};
    DWORD cbSaved = sizeof(saved) - sizeof(wchar_t);
    const bool hadValue =
        RegQueryValueExW(key, L"iCountry", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &cbSaved) == ERROR_SUCCESS;
    RegSetValueExW(key, L"iCountry", 0, REG_SZ, reinterpret_cast<const BYTE*>(code),
                   static_cast<DWORD>((wcslen(code) + 1) * sizeof(wchar_t)));

    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\" --gtest_color=no --gtest_filter=" + filter;
    SetEnvironmentVariableW(L"ZQ_TEST_COUNTRY", code);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    DWORD exitCode = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 120000);
        GetExitCodeProcess(pi.hProcess, &exitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    SetEnvironmentVariableW(L"ZQ_TEST_COUNTRY", nullptr);

    if (hadValue)
        RegSetValueExW(key, L"iCountry", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved),
                       static_cast<DWORD>((wcslen(saved) + 1) * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, L"iCountry");
    RegCloseKey(key);
    return exitCode;
}

int ForcedCountry() {
    wchar_t code[16] = {};
    if (!GetEnvironmentVariableW(L"ZQ_TEST_COUNTRY", code, ARRAYSIZE(code))) return 0;
    return _wtoi(code);
}

void CountryChoice::SetUp() {
    if (!ForcedCountry()) GTEST_SKIP() << "runs in a child process with the country set";
    ComTest::SetUp();
    wchar_t code[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, code, ARRAYSIZE(code));
    ASSERT_EQ(ForcedCountry(), _wtoi(code));
}

}  // namespace zqxmltest
