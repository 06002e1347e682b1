// What the built OrlimWeb.exe carries: its image type, the dialog
// templates and their initial data, the icon, the manifest and the version
// block, read back from the executable itself. The resource compiler can
// silently drop text it cannot read; these catch that.

#include "harness/LauncherProcess.h"

#include "harness/TestHandles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace
{

const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// The machine this build is for: what ships is 32-bit (the release check
// reads its bytes), the tests' build 64-bit only where no 32-bit program runs.
#ifdef _WIN64
const WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
const char kManifestArchitecture[] = "processorArchitecture=\"amd64\"";
#else
const WORD kMachine = IMAGE_FILE_MACHINE_I386;
const char kManifestArchitecture[] = "processorArchitecture=\"x86\"";
#endif

struct ModuleTraits
{
    static HMODULE Invalid() noexcept { return nullptr; }
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};

class ResourcesTest : public ::testing::Test
{
protected:
    ResourcesTest()
        : m_module(::LoadLibraryExW(LauncherExePath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }

    std::string Resource(const wchar_t* type, WORD id, WORD language)
    {
        const HMODULE h = m_module.Get();
        const HRSRC hRes = ::FindResourceExW(h, type, MAKEINTRESOURCEW(id), language);
        if (!hRes)
            return {};
        const void* p = ::LockResource(::LoadResource(h, hRes));
        return std::string(static_cast<const char*>(p), ::SizeofResource(h, hRes));
    }

    UniqueHandle<HMODULE, ModuleTraits> m_module;
};

// Reads a dialog template the way the dialog manager does.
class TemplateReader
{
public:
    explicit TemplateReader(const std::string& data) : m_data(data) {}

    template <class T>
    T Get()
    {
        T value{};
        if (m_pos + sizeof(T) <= m_data.size())
            std::memcpy(&value, m_data.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    std::wstring String()
    {
        std::wstring s;
        for (wchar_t c; (c = Get<wchar_t>()) != 0 && m_pos <= m_data.size();)
            s.push_back(c);
        return s;
    }
    // A class or text field: a name, or "#<ordinal>".
    std::wstring NameOrOrdinal()
    {
        if (Peek() == 0xFFFF)
        {
            Get<WORD>();
            return L"#" + std::to_wstring(Get<WORD>());
        }
        return String();
    }
    WORD Peek() const
    {
        WORD w = 0;
        std::memcpy(&w, m_data.data() + m_pos, sizeof(w));
        return w;
    }
    void Align() { m_pos = (m_pos + 3) & ~size_t(3); }
    void Skip(size_t n) { m_pos += n; }

private:
    const std::string& m_data;
    size_t m_pos = 0;
};

struct Item
{
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::wstring cls, text;
};

struct Dialog
{
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption, font;
    WORD points = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::vector<Item> items;
};

Dialog ParseExtended(const std::string& data)
{
    TemplateReader r(data);
    Dialog d;
    EXPECT_EQ(r.Get<WORD>(), 1);
    EXPECT_EQ(r.Get<WORD>(), 0xFFFF) << "not an extended template";
    EXPECT_EQ(r.Get<DWORD>(), 0u); // help id
    d.exStyle = r.Get<DWORD>();
    d.style = r.Get<DWORD>();
    const WORD count = r.Get<WORD>();
    d.x = r.Get<short>();
    d.y = r.Get<short>();
    d.cx = r.Get<short>();
    d.cy = r.Get<short>();
    EXPECT_EQ(r.NameOrOrdinal(), L""); // menu
    EXPECT_EQ(r.NameOrOrdinal(), L""); // class
    d.caption = r.String();
    d.points = r.Get<WORD>();
    d.weight = r.Get<WORD>();
    d.italic = r.Get<BYTE>();
    d.charset = r.Get<BYTE>();
    d.font = r.String();
    for (WORD i = 0; i < count; ++i)
    {
        r.Align();
        Item item;
        EXPECT_EQ(r.Get<DWORD>(), 0u); // help id
        EXPECT_EQ(r.Get<DWORD>(), 0u); // extended style
        item.style = r.Get<DWORD>();
        item.x = r.Get<short>();
        item.y = r.Get<short>();
        item.cx = r.Get<short>();
        item.cy = r.Get<short>();
        item.id = static_cast<int>(r.Get<DWORD>());
        item.cls = r.NameOrOrdinal();
        item.text = r.NameOrOrdinal();
        EXPECT_EQ(r.Get<WORD>(), 0) << "creation data";
        d.items.push_back(item);
    }
    return d;
}

// The names of the DLLs an image imports, read from its file.
std::vector<std::string> ImportedDlls(const std::string& image, const IMAGE_NT_HEADERS& nt)
{
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        image.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data())->e_lfanew + sizeof(DWORD) +
        sizeof(IMAGE_FILE_HEADER) + nt.FileHeader.SizeOfOptionalHeader);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i)
        {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    std::vector<std::string> names;
    const DWORD importRva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t pos = offsetOf(importRva); pos && pos + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         pos += sizeof(IMAGE_IMPORT_DESCRIPTOR))
    {
        IMAGE_IMPORT_DESCRIPTOR desc;
        std::memcpy(&desc, image.data() + pos, sizeof(desc));
        if (desc.Name == 0)
            break;
        names.emplace_back(image.c_str() + offsetOf(desc.Name));
    }
    return names;
}

TEST_F(ResourcesTest, IsAGuiImageForItsBuildsMachineThatNeedsOnlySystemDlls)
{
    ASSERT_TRUE(m_module);
    const std::wstring path = LauncherExePath();
    const UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    std::string image(::GetFileSize(file.Get(), nullptr), '\0');
    DWORD n = 0;
    ::ReadFile(file.Get(), image.data(), static_cast<DWORD>(image.size()), &n, nullptr);

    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, image.data(), sizeof(dos));
    IMAGE_NT_HEADERS nt;
    std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof(nt));
    EXPECT_EQ(nt.FileHeader.Machine, kMachine);
    EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR_MAGIC);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const std::vector<std::string> system = {
        "advapi32.dll", "comctl32.dll", "gdi32.dll",  "kernel32.dll", "msvcrt.dll",        "ole32.dll",  "oleaut32.dll",
        "shell32.dll",  "urlmon.dll",   "user32.dll", "version.dll",  "windowscodecs.dll", "wininet.dll"};
    const std::vector<std::string> dlls = ImportedDlls(image, nt);
    EXPECT_FALSE(dlls.empty());
    for (std::string dll : dlls)
    {
        for (char& c : dll)
            c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(std::find(system.begin(), system.end(), dll), system.end()) << dll;
    }
}

TEST_F(ResourcesTest, LauncherTemplateIsTheStripOfFiveControls)
{
    const Dialog d = ParseExtended(Resource(RT_DIALOG, 102, kChinesePrc));
    EXPECT_EQ(d.style, 0x92C800C0u);
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, 731);
    EXPECT_EQ(d.cy, 135);
    EXPECT_EQ(d.caption, L"Velka登陆器");
    EXPECT_EQ(d.font, L"宋体");
    EXPECT_EQ(d.points, 9);
    EXPECT_EQ(d.weight, 400);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, 134);

    struct Expected
    {
        int id;
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
        short x, y, cx, cy;
    };
    const Expected expected[] = {
        {1004, L"#133", L"", 0x50210003, 65, 2, 70, 143},
        {1005, L"#128", L"进入", 0x50010000, 139, 2, 31, 14},
        {1007, L"#129", L"", 0x58810080, 175, 2, 109, 13},
        {-1, L"#130", L"游戏平台", 0x50020000, 25, 4, 33, 8},
        {1003, L"#128", L"自动游戏调节大小", 0x50010003, 304, 3, 80, 10},
    };
    ASSERT_EQ(d.items.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
    {
        const Item& item = d.items[i];
        const Expected& e = expected[i];
        EXPECT_EQ(item.id, e.id) << i;
        EXPECT_EQ(item.cls, e.cls) << i;
        EXPECT_EQ(item.text, e.text) << i;
        EXPECT_EQ(item.style, e.style) << i;
        EXPECT_EQ(item.x, e.x) << i;
        EXPECT_EQ(item.y, e.y) << i;
        EXPECT_EQ(item.cx, e.cx) << i;
        EXPECT_EQ(item.cy, e.cy) << i;
    }
}

TEST_F(ResourcesTest, LauncherInitialDataAddsTheLabelsAsGbk)
{
    const std::string data = Resource(MAKEINTRESOURCEW(240), 102, kChinesePrc);
    size_t pos = 0;
    std::vector<std::string> labels;
    for (;;)
    {
        WORD id = 0, msg = 0;
        DWORD cb = 0;
        std::memcpy(&id, data.data() + pos, 2);
        if (id == 0)
            break;
        std::memcpy(&msg, data.data() + pos + 2, 2);
        std::memcpy(&cb, data.data() + pos + 4, 4);
        EXPECT_EQ(id, 1004);
        EXPECT_EQ(msg, 0x0403);
        ASSERT_LE(pos + 8 + cb, data.size());
        const std::string label = data.substr(pos + 8, cb);
        EXPECT_EQ(label.back(), '\0');
        labels.push_back(label.substr(0, label.size() - 1));
        pos += 8 + cb;
    }
    ASSERT_EQ(labels.size(), 79u);
    EXPECT_EQ(labels.front(), "Velka\xB9\xD9\xCD\xF8");           // Velka官网
    EXPECT_EQ(labels[75], "44\xCD\xE6");                          // 44玩
    EXPECT_EQ(labels.back(), "\xCA\xD6\xB6\xAF\xCA\xE4\xC8\xEB"); // 手动输入
}

TEST_F(ResourcesTest, PaneTemplateHostsTheWebBrowserControl)
{
    const Dialog d = ParseExtended(Resource(RT_DIALOG, 132, kChinesePrc));
    EXPECT_EQ(d.style, 0x40000040u);
    EXPECT_EQ(d.cx, 186);
    EXPECT_EQ(d.cy, 93);
    EXPECT_EQ(d.caption, L"");
    EXPECT_EQ(d.font, L"MS Shell Dlg");
    EXPECT_EQ(d.points, 8);
    EXPECT_EQ(d.charset, 1);
    ASSERT_EQ(d.items.size(), 1u);
    EXPECT_EQ(d.items[0].id, 1000);
    EXPECT_EQ(d.items[0].cls, L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
    EXPECT_EQ(d.items[0].style, 0x50010000u);
    EXPECT_EQ(d.items[0].x, 7);
    EXPECT_EQ(d.items[0].y, 7);
    EXPECT_EQ(d.items[0].cx, 172);
    EXPECT_EQ(d.items[0].cy, 79);
}

TEST_F(ResourcesTest, PaneInitialDataIsTheControlsPersistedState)
{
    const std::string data = Resource(MAKEINTRESOURCEW(240), 132, kChinesePrc);
    ASSERT_EQ(data.size(), 170u);
    auto dword = [&](size_t offset) {
        DWORD v = 0;
        std::memcpy(&v, data.data() + offset, 4);
        return v;
    };
    EXPECT_EQ(dword(0), 1000u | (0x0376u << 16)); // control 1000, load from a stream
    EXPECT_EQ(dword(4), 160u);
    const size_t state = 8;          // the 160 data bytes
    EXPECT_EQ(dword(state + 0), 0u); // no creation key
    EXPECT_EQ(dword(state + 4), 76u);
    EXPECT_EQ(dword(state + 8), 6826u);
    EXPECT_EQ(dword(state + 12), 3387u);
    EXPECT_EQ(data.substr(state + 16, 24), std::string(24, '\0'));
    EXPECT_EQ(dword(state + 40), 76u);
    EXPECT_EQ(dword(state + 52), 1u);
    GUID view;
    std::memcpy(&view, data.data() + state + 56, sizeof(view));
    EXPECT_TRUE(IsEqualGUID(view, {0x0057D0E0, 0x3573, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62}}));
    EXPECT_EQ(dword(state + 72), 10u);
    EXPECT_EQ(dword(state + 76), 0u);
    // The empty Shell Link.
    EXPECT_EQ(dword(state + 80), 0x4Cu);
    GUID link;
    std::memcpy(&link, data.data() + state + 84, sizeof(link));
    EXPECT_TRUE(IsEqualGUID(link, {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}));
    EXPECT_EQ(dword(state + 100), 0x80u);
    EXPECT_EQ(dword(state + 140), 1u); // ShowCommand
    EXPECT_EQ(data.substr(state + 156, 4), std::string(4, '\0'));
    EXPECT_EQ(data.substr(168, 2), std::string(2, '\0')); // end of the list
}

TEST_F(ResourcesTest, IconIsOne32By32ImageWithAlpha)
{
    const std::string group = Resource(RT_GROUP_ICON, 128, kChinesePrc);
    ASSERT_EQ(group.size(), 6u + 14u);
    WORD count = 0, bits = 0;
    std::memcpy(&count, group.data() + 4, 2);
    std::memcpy(&bits, group.data() + 6 + 6, 2);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(static_cast<BYTE>(group[6]), 32); // width
    EXPECT_EQ(static_cast<BYTE>(group[7]), 32); // height
    EXPECT_EQ(bits, 32);
}

TEST_F(ResourcesTest, ManifestAsksForCommonControls6AndNoElevation)
{
    const std::string manifest = Resource(MAKEINTRESOURCEW(24), 1, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    EXPECT_NE(manifest.find("manifestVersion=\"1.0\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(kManifestArchitecture), std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    // Without it, Windows redirects writes under Program Files elsewhere.
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
}

TEST_F(ResourcesTest, VersionBlockNamesTheProduct)
{
    const std::string block = Resource(RT_VERSION, 1, kChinesePrc);
    ASSERT_FALSE(block.empty());
    std::vector<char> copy(block.begin(), block.end());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT cb = 0;
    ASSERT_TRUE(::VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &cb));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, 1u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        ::VerQueryValueW(copy.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &cb));
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x03A8);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"CompanyName", L"VelkaOrlim辅助"},     {L"FileDescription", L"VelkaOrlim辅助"},
        {L"ProductName", L"VelkaOrlim系列辅助"}, {L"FileVersion", L"1.0.0.1"},
        {L"ProductVersion", L"1.0.0.1"},         {L"InternalName", L"OrlimWeb.exe"},
        {L"OriginalFilename", L"OrlimWeb.exe"},
    };
    for (const auto& [name, value] : strings)
    {
        wchar_t* text = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\080403a8\\") + name;
        ASSERT_TRUE(::VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&text), &cb)) << path.size();
        EXPECT_EQ(std::wstring(text), value);
    }
}

} // namespace
