#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Win32.h"
#include "tests/support/Process.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

using halvex::test::ReadFile;
using halvex::test::TempDir;
using halvex::test::WriteFile;

// A string with a line break cannot be a one-line .reg string: it must still come back whole.
constexpr BYTE kMultiline[] = {'a', 0, '\n', 0, 'b', 0, 0, 0};

}  // namespace

TEST(RegistryFile, RoundTripsEveryKindOfValueThroughTheFile) {
    const std::string path = TempDir() + "/sub/dir/registry.reg";  // parents are created
    const BYTE odd[] = {1, 2, 3};
    {
        Registry reg(path);  // a missing file is an empty registry
        EXPECT_EQ(
            (std::vector<LONG>{
                reg.LoadResult(),
                reg.SetString(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", u"rfcomm0"),
                reg.SetDword(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", 0xFFFFFFFF),
                reg.SetString(HKEY_CURRENT_USER, u"Text", u"Quote \"x\\y\"",
                              u"Zoë \"quoted\" back\\slash 😀"),
                reg.SetValue(HKEY_CURRENT_USER, u"Text", u"Bin", REG_BINARY, odd, 3),
                reg.SetValue(HKEY_CURRENT_USER, u"Text", u"", 7, odd, 3),
                reg.SetValue(HKEY_CURRENT_USER, u"Text", u"ShortDword", REG_DWORD, odd, 3),
                reg.SetValue(HKEY_CURRENT_USER, u"Text", u"Lines", REG_SZ, kMultiline, 8),
                reg.CreateKey(HKEY_CURRENT_USER, u"Empty\\Key")}),
            std::vector<LONG>(9, ERROR_SUCCESS));
    }
    // As the Bluetooth software writes them.
    const std::string text = ReadFile(path);
    for (const char* section :
         {"[HKEY_LOCAL_MACHINE\\ExtModems\\Bluetooth]\n\"Port\"=\"rfcomm0\"\n",
          "[HKEY_CURRENT_USER\\Comm\\MemoryType]\n\"MemoryType\"=dword:ffffffff\n"})
        EXPECT_NE(text.find(section), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(path + ".tmp." + std::to_string(::getpid())));

    Registry again(path);
    ASSERT_EQ(again.LoadResult(), ERROR_SUCCESS) << text;
    EXPECT_EQ(again.ToRegText(), text);
    std::u16string s;
    EXPECT_EQ(again.GetString(HKEY_CURRENT_USER, u"text", u"QUOTE \"X\\Y\"", s), ERROR_SUCCESS);
    EXPECT_EQ(s, u"Zoë \"quoted\" back\\slash 😀");
    for (const auto& [name, type, data] :
         {std::tuple(u"", DWORD(7), std::vector<BYTE>{1, 2, 3}),
          std::tuple(u"ShortDword", DWORD(REG_DWORD), std::vector<BYTE>{1, 2, 3}),
          std::tuple(u"Lines", DWORD(REG_SZ), std::vector<BYTE>(kMultiline, kMultiline + 8))}) {
        DWORD gotType = 0;
        std::vector<BYTE> got;
        again.QueryValue(HKEY_CURRENT_USER, u"Text", name, &gotType, &got);
        EXPECT_EQ(std::pair(gotType, got), std::pair(type, data));
    }
    EXPECT_TRUE(again.KeyExists(HKEY_CURRENT_USER, u"Empty\\Key"));
    EXPECT_TRUE(again.KeyExists(HKEY_CURRENT_USER, u"Comm"));  // ancestors are keys too
}

TEST(RegistryFile, ReadsExportsAsEditorsAndWindowsWriteThem) {
    Registry reg;
    ASSERT_EQ(
        reg.FromRegText("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                        "; written by hand\r\n\r\n"
                        "[HKEY_LOCAL_MACHINE\\ExtModems\\Bluetooth]\r\n"
                        "\"Port\"=\"ttyUSB0\"\r\n\"Blob\"=hex:01,02,\\\r\n  03\r\n@=dword:1\r\n"),
        ERROR_SUCCESS);
    EXPECT_NE(
        reg.ToRegText().find("\"Port\"=\"ttyUSB0\"\n\"Blob\"=hex:01,02,03\n@=dword:00000001\n"),
        std::string::npos)
        << reg.ToRegText();

    // Windows writes UTF-16 with a byte order mark; an odd byte is damage.
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                     u"[HKEY_LOCAL_MACHINE\\ExtModems\\Bluetooth]\r\n"
                                     u"\"Port\"=\"ttyACM0\"\r\n")) {
        utf16 += char(c & 0xFF);
        utf16 += char(c >> 8);
    }
    ASSERT_EQ(reg.FromRegText(utf16), ERROR_SUCCESS);
    EXPECT_NE(reg.ToRegText().find("\"Port\"=\"ttyACM0\""), std::string::npos);
    EXPECT_EQ(reg.FromRegText(utf16 + "x"), ERROR_BADDB);
}

class DamagedRegistryFile : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedRegistryFile, IsAnErrorResultWithAnEmptyRegistryAndIsKeptAside) {
    const std::string path = TempDir() + "/registry.reg";
    WriteFile(path, GetParam());
    Registry reg(path);
    EXPECT_EQ(reg.LoadResult(), ERROR_BADDB);
    EXPECT_FALSE(reg.KeyExists(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth"));
    // The first save must not destroy what the user had.
    EXPECT_EQ(reg.SetDword(HKEY_CURRENT_USER, u"Comm", u"X", 1), ERROR_SUCCESS);
    EXPECT_EQ(ReadFile(path + ".bad"), GetParam());
    EXPECT_EQ(Registry(path).LoadResult(), ERROR_SUCCESS);
}

// The header and a key, then a damaged line.
static std::string Damaged(const std::string& line) {
    return "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n" + line + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    Registry, DamagedRegistryFile,
    ::testing::Values(
        std::string("not a registry file\n"),
        std::string("Windows Registry Editor Version 5.00\n\"Port\"=\"x\"\n"),  // no key
        std::string("Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\A]\n"),
        std::string("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n"),
        Damaged("\"P\"=\"x"), Damaged("\"P\"=dword:123456789"), Damaged("\"P\"=hex:1,zz"),
        Damaged("\"P\"=hex(:01"), Damaged("\"P\"=hex:01,\\"), Damaged("\"P\"=\"\xC3\""),
        Damaged("P=1"), Damaged("\"P\"=-"), std::string("\0\0\xFF\xFE[\\", 6)));

// The tests' programs keep their settings apart through HALVEX_REGISTRY.
TEST(RegistryFile, DefaultPathIsHalvexRegistryWhenSet) {
    ::setenv("HALVEX_REGISTRY", "/tmp/x.reg", 1);
    EXPECT_EQ(Registry::DefaultPath(), "/tmp/x.reg");
}
