// The resources as the program carries them: read back from fireworks.exe
// (loaded as a data file) and from this test program, which links the same
// resource object.
#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

const WORD kSimplifiedChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

struct Bytes {
    const std::uint8_t* data = nullptr;
    DWORD size = 0;

    std::uint32_t U8(DWORD at) const { return at < size ? data[at] : 0xFFFFFFFFu; }
    std::uint32_t U16(DWORD at) const { return U8(at) | (U8(at + 1) << 8); }
    std::uint32_t U16BigEndian(DWORD at) const { return (U8(at) << 8) | U8(at + 1); }
    std::uint32_t U32(DWORD at) const { return U16(at) | (U16(at + 2) << 16); }
    std::string Text(DWORD at, DWORD length) const
    {
        return at + length <= size ? std::string(reinterpret_cast<const char*>(data) + at, length) : std::string();
    }
};

// The program file's path as Wine sees it.
std::string ProgramPath()
{
    const char* binaryDir = std::getenv("FIREWORKS_BINARY_DIR");
    std::string path = binaryDir ? binaryDir : ".";
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    return path + "/fireworks.exe";
}

std::string OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

class ResourceTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        fromProgram_ = GetParam();
        if (fromProgram_) {
            path_ = ProgramPath();
            module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            ASSERT_NE(module_, nullptr) << "cannot open " << path_;
        } else {
            path_ = OwnPath();
            module_ = GetModuleHandleA(nullptr);
        }
    }

    void TearDown() override
    {
        if (fromProgram_ && module_) {
            FreeLibrary(module_);
        }
    }

    Bytes Find(LPCSTR type, int id) const
    {
        Bytes bytes;
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kSimplifiedChinese);
        if (!found) {
            return bytes;
        }
        HGLOBAL loaded = LoadResource(module_, found);
        bytes.data = static_cast<const std::uint8_t*>(LockResource(loaded));
        bytes.size = SizeofResource(module_, found);
        return bytes;
    }

    // RIFF WAVE: checks the format chunk and returns the chunk ids in order
    // with the size of the data chunk.
    static std::pair<std::vector<std::string>, DWORD> WaveChunks(const Bytes& wave, unsigned channels, unsigned rate,
                                                                 unsigned bits)
    {
        std::vector<std::string> ids;
        DWORD dataBytes = 0;
        EXPECT_EQ(wave.Text(0, 4), "RIFF");
        EXPECT_EQ(wave.U32(4) + 8, wave.size);
        EXPECT_EQ(wave.Text(8, 4), "WAVE");
        for (DWORD at = 12; at + 8 <= wave.size;) {
            const std::string id = wave.Text(at, 4);
            const DWORD length = wave.U32(at + 4);
            ids.push_back(id);
            if (id == "fmt ") {
                EXPECT_EQ(wave.U16(at + 8), 1u) << "PCM";
                EXPECT_EQ(wave.U16(at + 10), channels);
                EXPECT_EQ(wave.U32(at + 12), rate);
                EXPECT_EQ(wave.U32(at + 16), rate * channels * bits / 8);
                EXPECT_EQ(wave.U16(at + 20), channels * bits / 8);
                EXPECT_EQ(wave.U16(at + 22), bits);
            } else if (id == "LIST") {
                EXPECT_EQ(wave.Text(at + 8, 4), "INFO");
            } else if (id == "data") {
                dataBytes = length;
            }
            at += 8 + length + (length & 1);
        }
        return {ids, dataBytes};
    }

    bool fromProgram_ = false;
    std::string path_;
    HMODULE module_ = nullptr;
};

TEST_P(ResourceTest, BurstStripIsABaselineJfifOf3120By240)
{
    const Bytes jpeg = Find("IMAGE", 103);
    ASSERT_NE(jpeg.data, nullptr);
    EXPECT_EQ(jpeg.U16BigEndian(0), 0xFFD8u) << "SOI";
    EXPECT_EQ(jpeg.U16BigEndian(jpeg.size - 2), 0xFFD9u) << "EOI";
    // APP0 right after SOI.
    ASSERT_EQ(jpeg.U16BigEndian(2), 0xFFE0u);
    EXPECT_EQ(jpeg.Text(6, 5), std::string("JFIF", 5));
    EXPECT_EQ(jpeg.U8(11), 1u);
    EXPECT_EQ(jpeg.U8(12), 1u) << "JFIF 1.01";
    EXPECT_EQ(jpeg.U8(13), 1u) << "density in dots per inch";
    EXPECT_EQ(jpeg.U16BigEndian(14), 96u);
    EXPECT_EQ(jpeg.U16BigEndian(16), 96u);
    // Walk the segments to the frame header.
    DWORD at = 2;
    std::uint32_t marker = 0;
    while (at + 4 <= jpeg.size) {
        marker = jpeg.U16BigEndian(at);
        if (marker >= 0xFFC0 && marker <= 0xFFCF && marker != 0xFFC4 && marker != 0xFFC8 && marker != 0xFFCC) {
            break;
        }
        at += 2 + jpeg.U16BigEndian(at + 2);
    }
    ASSERT_EQ(marker, 0xFFC0u) << "baseline frame (SOF0)";
    EXPECT_EQ(jpeg.U8(at + 4), 8u) << "8-bit samples";
    EXPECT_EQ(jpeg.U16BigEndian(at + 5), 240u);
    EXPECT_EQ(jpeg.U16BigEndian(at + 7), 3120u);
    ASSERT_EQ(jpeg.U8(at + 9), 3u);
    EXPECT_EQ(jpeg.U8(at + 11), 0x22u) << "Y sampled 2 x 2";
    EXPECT_EQ(jpeg.U8(at + 14), 0x11u);
    EXPECT_EQ(jpeg.U8(at + 17), 0x11u);
}

TEST_P(ResourceTest, RocketSheetIsA24BitBitmapOf200By50)
{
    const Bytes bmp = Find("IMAGE", 104);
    ASSERT_EQ(bmp.size, 30054u);
    EXPECT_EQ(bmp.Text(0, 2), "BM");
    EXPECT_EQ(bmp.U32(2), 30054u);
    EXPECT_EQ(bmp.U32(10), 54u);
    EXPECT_EQ(bmp.U32(14), 40u);
    EXPECT_EQ(bmp.U32(18), 200u);
    EXPECT_EQ(bmp.U32(22), 50u);
    EXPECT_EQ(bmp.U16(26), 1u);
    EXPECT_EQ(bmp.U16(28), 24u);
    EXPECT_EQ(bmp.U32(30), static_cast<std::uint32_t>(BI_RGB));
    EXPECT_EQ(bmp.U32(38), 3780u);
    EXPECT_EQ(bmp.U32(42), 3780u);
}

TEST_P(ResourceTest, SoundsAreWavesOfTheirFormats)
{
    {
        SCOPED_TRACE("launch");
        const auto [ids, data] = WaveChunks(Find("WAVE", 106), 1, 22050, 8);
        EXPECT_EQ(data, 82368u);
    }
    {
        SCOPED_TRACE("crackle");
        const auto [ids, data] = WaveChunks(Find("WAVE", 107), 2, 44100, 16);
        EXPECT_EQ(data, 622080u);
        EXPECT_EQ(ids, (std::vector<std::string>{"fmt ", "LIST", "data"}));
    }
    {
        SCOPED_TRACE("music");
        const auto [ids, data] = WaveChunks(Find("WAVE", 108), 2, 44100, 16);
        EXPECT_GE(data, 60u * 44100 * 4);
        EXPECT_EQ(data % 4, 0u);
        EXPECT_EQ(ids, (std::vector<std::string>{"fmt ", "LIST", "data"}));
    }
}

BOOL CALLBACK CollectIconGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR groups)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(groups)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

TEST_P(ResourceTest, FirstIconGroupIsTheFireworkFrom16To256)
{
    std::vector<ULONG_PTR> groups;
    EnumResourceNamesA(module_, RT_GROUP_ICON, CollectIconGroup, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(groups, std::vector<ULONG_PTR>{1});

    const Bytes group = Find(RT_GROUP_ICON, 1);
    ASSERT_NE(group.data, nullptr);
    EXPECT_EQ(group.U16(2), 1u) << "icons";
    std::set<unsigned> sizes;
    for (unsigned i = 0; i < group.U16(4); ++i) {
        const DWORD entry = 6 + 14 * i;
        sizes.insert(group.U8(entry) == 0 ? 256 : group.U8(entry));
        EXPECT_EQ(group.U16(entry + 6), 32u) << "32 bits per pixel";
        const Bytes image = Find(RT_ICON, static_cast<int>(group.U16(entry + 12)));
        EXPECT_EQ(image.size, group.U32(entry + 8)) << "icon image " << group.U16(entry + 12);
    }
    EXPECT_EQ(sizes, (std::set<unsigned>{16, 24, 32, 48, 64, 256}));

    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), path_.c_str(), 0);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(icon, reinterpret_cast<HICON>(1)) << "a file without icons";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST_P(ResourceTest, VersionInfoIsInSimplifiedChinese)
{
    const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, block.data()));
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(
        VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], kSimplifiedChinese);
    EXPECT_EQ(translation[1], 1200) << "Unicode strings";
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ(product, "Fireworks");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_P(ResourceTest, ManifestRunsAsInvokerWithoutDpiAwareness)
{
    const Bytes manifest = Find(RT_MANIFEST, 1);
    ASSERT_NE(manifest.data, nullptr);
    const std::string text = manifest.Text(0, manifest.size);
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(text.find("dpiAware"), std::string::npos);
    EXPECT_EQ(text.find("dpiAwareness"), std::string::npos);
    std::size_t supported = 0;
    for (std::size_t at = text.find("<supportedOS"); at != std::string::npos; at = text.find("<supportedOS", at + 1)) {
        ++supported;
    }
    EXPECT_EQ(supported, 5u) << "Vista, 7, 8, 8.1 and 10/11";
}

struct ResourceKey {
    std::string type;
    std::string name;
    WORD language;

    bool operator<(const ResourceKey& o) const
    {
        return std::tie(type, name, language) < std::tie(o.type, o.name, o.language);
    }
};

std::string ResourceName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
}

// Resource enumeration callbacks: every (type, name, language) of a module.
BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR keys)
{
    reinterpret_cast<std::set<ResourceKey>*>(keys)->insert({ResourceName(type), ResourceName(name), language});
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR keys)
{
    EnumResourceLanguagesA(module, type, name, CollectLanguage, keys);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR keys)
{
    EnumResourceNamesA(module, type, CollectName, keys);
    return TRUE;
}

TEST_P(ResourceTest, EveryResourceIsSimplifiedChinese)
{
    std::set<ResourceKey> found;
    EnumResourceTypesA(module_, CollectType, reinterpret_cast<LONG_PTR>(&found));

    std::set<std::pair<std::string, std::string>> names;
    for (const ResourceKey& key : found) {
        EXPECT_EQ(key.language, kSimplifiedChinese) << key.type << " " << key.name;
        if (key.type != "#3") {  // the icon images, numbered by the resource compiler
            names.insert({key.type, key.name});
        }
    }
    const std::set<std::pair<std::string, std::string>> expected = {
        {"IMAGE", "#103"}, {"IMAGE", "#104"}, {"WAVE", "#106"},
        {"WAVE", "#107"},  {"WAVE", "#108"},  {"#14", "#1"},  // the icon group
        {"#16", "#1"},                                        // the version information
        {"#24", "#1"},                                        // the manifest
    };
    EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(Modules, ResourceTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "FromProgramFile" : "FromTestProgram";
                         });

}  // namespace
