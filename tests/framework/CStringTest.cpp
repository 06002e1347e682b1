#include "framework/CString.h"

#include <gtest/gtest.h>

namespace
{

TEST(CStringTest, KeepsEmbeddedNulsAndSearchesPastThem)
{
    const wchar_t text[] = L"http://a.test/\0velka.cn";
    const CString str(text, 23);
    EXPECT_EQ(str.GetLength(), 23);
    EXPECT_EQ(str.Find(L"velka.cn"), 15);
    EXPECT_EQ(str.Find(L"VELKA.cn"), -1);
    EXPECT_EQ(str.Find(L"velka.cn", 16), -1);
    EXPECT_EQ(CString(nullptr, 0).GetLength(), 0);
    EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
}

TEST(CStringTest, BufferAccessSetsTheLength)
{
    CString str(L"abc");
    wchar_t* p = str.GetBuffer(10);
    wcscpy(p, L"0123456789");
    str.ReleaseBuffer();
    EXPECT_STREQ(str, L"0123456789");
    str.GetBuffer(2);
    str.ReleaseBuffer(2);
    EXPECT_STREQ(str, L"01");
}

TEST(CStringTest, FormatsNumbersAndLongText)
{
    CString str;
    str.Format(L"%d", -9);
    EXPECT_STREQ(str, L"-9");
    const std::wstring longText(5000, L'x');
    str.Format(L"\"%ls\"", longText.c_str());
    EXPECT_EQ(str.GetLength(), 5002);
}

} // namespace
