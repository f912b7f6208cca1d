// The narrow-wide conversions behind _bstr_t, through the ANSI code page.
#include <comutil.h>

#include <cstring>

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* source) {
    if (!source)
        return nullptr;
    const int length = static_cast<int>(std::strlen(source));
    const int wideLength = length ? MultiByteToWideChar(CP_ACP, 0, source, length, nullptr, 0) : 0;
    if (length && wideLength == 0)
        return nullptr;
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(wideLength));
    if (result && wideLength)
        MultiByteToWideChar(CP_ACP, 0, source, length, result, wideLength);
    return result;
}

// A new[] block, as _bstr_t frees it with delete[].
char* WINAPI ConvertBSTRToString(BSTR source) {
    if (!source)
        return nullptr;
    const int length = static_cast<int>(SysStringLen(source));
    const int narrowLength =
        length ? WideCharToMultiByte(CP_ACP, 0, source, length, nullptr, 0, nullptr, nullptr) : 0;
    if (length && narrowLength == 0)
        return nullptr;
    char* result = new char[static_cast<std::size_t>(narrowLength) + 1];
    if (narrowLength)
        WideCharToMultiByte(CP_ACP, 0, source, length, result, narrowLength, nullptr, nullptr);
    result[narrowLength] = '\0';
    return result;
}

} // namespace _com_util
