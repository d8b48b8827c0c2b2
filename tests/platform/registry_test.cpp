#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/shell.h"
#include "support/temp_dir.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() { setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1); }
    std::string File() const { return m_home / "config/quillmere/registry.txt"; }
    QuillmereTest::TempDir m_home;
};

TEST_F(RegistryTest, ValuesRoundTripByTypeAndNamesIgnoreCase) {
    DWORD volume = 42;
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh\\Quillmere", "Volume", REG_DWORD, &volume, 4),
              ERROR_SUCCESS);
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh\\Quillmere", "Name", REG_SZ, "Wren = the boatman", 19),
              ERROR_SUCCESS);
    volume = 43;
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, "software\\velmarsh\\quillmere", "VOLUME", REG_DWORD, &volume, 4),
              ERROR_SUCCESS);

    DWORD type = 0, value = 0, size = 4;
    ASSERT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh\\Quillmere", "Volume", &type, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 43u);
    EXPECT_EQ(size, 4u);

    char text[64] = {};
    size = 5;
    EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh\\Quillmere", "Name", &type, text, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 19u);
    size = sizeof text;
    ASSERT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh\\Quillmere", "Name", &type, text, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_STREQ(text, "Wren = the boatman");

    EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh\\Quillmere", "Missing", &type, &value, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Velmarsh", "Volume", &type, &value, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HandEditedAndBrokenLinesAreSkippedNotFatal) {
    m_home.WriteFile("config/quillmere/registry.txt",
                     "garbage line\n"
                     "HKEY_CURRENT_USER\\SOFTWARE\\V\\Q\\A = dword:12x\n"
                     "HKEY_CURRENT_USER\\SOFTWARE\\V\\Q\\B = dword:99999999999\n"
                     "HKEY_CURRENT_USER\\SOFTWARE\\V\\Q\\C = qword:1\n"
                     "HKEY_CURRENT_USER\\SOFTWARE\\V\\Q\\D = dword:250\n");
    DWORD type = 0, value = 0, size = 4;
    for (const char* name : {"A", "B", "C"})
        EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\V\\Q", name, &type, &value, &size), ERROR_FILE_NOT_FOUND)
            << name;
    ASSERT_EQ(SHGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\V\\Q", "D", &type, &value, &size), ERROR_SUCCESS);
    EXPECT_EQ(value, 250u);
    // Writing keeps the good values and drops the broken lines.
    DWORD one = 1;
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, "SOFTWARE\\V\\Q", "E", REG_DWORD, &one, 4), ERROR_SUCCESS);
    EXPECT_EQ(QuillmereTest::ReadTextFile(File()),
              "HKEY_CURRENT_USER\\SOFTWARE\\V\\Q\\D = dword:250\nHKEY_CURRENT_USER\\SOFTWARE\\V\\Q\\E = dword:1\n");
}

TEST_F(RegistryTest, UnstorableValuesAreRefused) {
    DWORD value = 1;
    EXPECT_EQ(SHSetValueA(HKEY_CURRENT_USER, "K", "V", REG_DWORD, &value, 2), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SHSetValueA(HKEY_CURRENT_USER, "K", "V", 3, &value, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SHSetValueA(HKEY_CURRENT_USER, "K", "two\nlines", REG_DWORD, &value, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SHSetValueA(HKEY_CURRENT_USER, "K", "V", REG_SZ, "a\nb", 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SHSetValueA(nullptr, "K", "V", REG_DWORD, &value, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(QuillmereTest::ReadTextFile(File()), "");
}

}  // namespace
