// Prints what Windows reads from an executable's version resource, one "Name=value" a line.
#include <windows.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
    if (size == 0) {
        std::printf("no version resource\n");
        return 1;
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(argv[1], 0, size, data.data()))
        return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed)
        std::printf("FixedProductVersion=%u.%u.%u.%u\n", unsigned(HIWORD(fixed->dwProductVersionMS)),
                    unsigned(LOWORD(fixed->dwProductVersionMS)), unsigned(HIWORD(fixed->dwProductVersionLS)),
                    unsigned(LOWORD(fixed->dwProductVersionLS)));
    for (const wchar_t* name : {L"CompanyName", L"ProductName", L"ProductVersion", L"FileVersion"}) {
        wchar_t key[128];
        wsprintfW(key, L"\\StringFileInfo\\040904B0\\%s", name);
        wchar_t* value = nullptr;
        if (VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&value), &len) && value)
            std::printf("%ls=%ls\n", name, value);
    }
    return 0;
}
