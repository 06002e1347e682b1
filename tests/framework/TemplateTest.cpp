// Reading dialog templates and initial data, as the dialog code does before
// it creates a dialog.

#include "framework/DialogInitData.h"
#include "framework/DialogTemplate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

// Builds an extended dialog template.
class TemplateBuilder
{
public:
    TemplateBuilder(DWORD style, short x, short y, BYTE charset)
    {
        Word(1);
        Word(0xFFFF);
        Dword(0);
        Dword(0);
        Dword(style);
        m_countOffset = m_bytes.size();
        Word(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(100);
        Word(50);
        Word(0); // menu
        Word(0); // class
        String(L"title");
        if (style & DS_SETFONT)
        {
            Word(9);
            Word(400);
            m_bytes.push_back(0);
            m_bytes.push_back(charset);
            String(L"font");
        }
    }

    void Item(DWORD id, const std::wstring& cls, WORD atom, const std::vector<BYTE>& creationData = {})
    {
        Align();
        Dword(0);
        Dword(0);
        Dword(WS_CHILD | WS_VISIBLE | 0x10);
        Word(3);
        Word(4);
        Word(50);
        Word(20);
        Dword(id);
        if (cls.empty())
        {
            Word(0xFFFF);
            Word(atom);
        }
        else
        {
            String(cls);
        }
        String(L"text");
        Word(static_cast<WORD>(creationData.size()));
        m_bytes.insert(m_bytes.end(), creationData.begin(), creationData.end());
        ++m_count;
        std::memcpy(&m_bytes[m_countOffset], &m_count, sizeof(m_count));
    }

    std::vector<BYTE> m_bytes;

private:
    void Word(WORD w) { m_bytes.insert(m_bytes.end(), reinterpret_cast<BYTE*>(&w), reinterpret_cast<BYTE*>(&w) + 2); }
    void Dword(DWORD d) { m_bytes.insert(m_bytes.end(), reinterpret_cast<BYTE*>(&d), reinterpret_cast<BYTE*>(&d) + 4); }
    void String(const std::wstring& s)
    {
        for (wchar_t c : s)
            Word(c);
        Word(0);
    }
    void Align()
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
    }

    size_t m_countOffset = 0;
    WORD m_count = 0;
};

const wchar_t kClsid[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

TEST(TemplateTest, ActiveXItemsAreTakenOutAndTheRestKeptIntact)
{
    TemplateBuilder withOle(DS_SETFONT | WS_POPUP, 0, 0, 134);
    withOle.Item(10, L"", 0x80, {1, 2, 3});
    withOle.Item(11, kClsid, 0);
    withOle.Item(12, L"", 0x82);
    TemplateBuilder without(DS_SETFONT | WS_POPUP, 0, 0, 134);
    without.Item(10, L"", 0x80, {1, 2, 3});
    without.Item(12, L"", 0x82);

    const DialogTemplate dlgTemplate(withOle.m_bytes.data(), withOle.m_bytes.size());
    ASSERT_TRUE(dlgTemplate.IsExtended());
    ASSERT_EQ(dlgTemplate.GetOleItems().size(), 1u);
    const DialogOleItem& item = dlgTemplate.GetOleItems()[0];
    EXPECT_EQ(item.nID, 11u);
    EXPECT_EQ(item.className, kClsid);
    EXPECT_EQ(item.nIndex, 1u);
    EXPECT_EQ(item.x, 3);
    EXPECT_EQ(item.cy, 20);

    const std::vector<DWORD> stripped = dlgTemplate.WithoutOleItems();
    std::vector<BYTE> expected = without.m_bytes;
    expected.resize((expected.size() + 3) & ~size_t(3));
    ASSERT_EQ(stripped.size() * 4, expected.size());
    EXPECT_EQ(std::memcmp(stripped.data(), expected.data(), expected.size()), 0);
}

TEST(TemplateTest, EightBitTextFollowsTheFontCharacterSet)
{
    TemplateBuilder chinese(DS_SETFONT | WS_POPUP, 0, 0, 134);
    EXPECT_EQ(DialogTemplate(chinese.m_bytes.data(), chinese.m_bytes.size()).GetCodePage(), 936u);
    TemplateBuilder russian(DS_SETFONT | WS_POPUP, 0, 0, 204);
    EXPECT_EQ(DialogTemplate(russian.m_bytes.data(), russian.m_bytes.size()).GetCodePage(), 1251u);
    TemplateBuilder defaultSet(DS_SETFONT | WS_POPUP, 0, 0, DEFAULT_CHARSET);
    EXPECT_EQ(DialogTemplate(defaultSet.m_bytes.data(), defaultSet.m_bytes.size()).GetCodePage(), UINT(CP_ACP));
}

TEST(TemplateTest, TruncatedOrOldStyleTemplatesAreLeftAlone)
{
    TemplateBuilder builder(DS_SETFONT | WS_POPUP, 7, 9, 134);
    builder.Item(11, kClsid, 0);
    const DialogTemplate whole(builder.m_bytes.data(), builder.m_bytes.size());
    EXPECT_TRUE(whole.IsExtended());
    EXPECT_EQ(whole.GetX(), 7);
    EXPECT_EQ(whole.GetY(), 9);

    const DialogTemplate truncated(builder.m_bytes.data(), builder.m_bytes.size() - 10);
    EXPECT_FALSE(truncated.IsExtended());
    EXPECT_TRUE(truncated.GetOleItems().empty());

    const DWORD oldStyle[] = {WS_POPUP, 0, 0, 0, 0};
    EXPECT_FALSE(DialogTemplate(oldStyle, sizeof(oldStyle)).IsExtended());
}

std::vector<BYTE> Entry(WORD id, WORD msg, const std::string& data)
{
    const DWORD cb = static_cast<DWORD>(data.size());
    std::string bytes(8, '\0');
    std::memcpy(&bytes[0], &id, 2);
    std::memcpy(&bytes[2], &msg, 2);
    std::memcpy(&bytes[4], &cb, 4);
    bytes += data;
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

TEST(TemplateTest, InitialDataEntriesFollowEachOtherUnaligned)
{
    std::vector<BYTE> data = Entry(1004, 0x0403, std::string("ab\0", 3));
    const std::vector<BYTE> second = Entry(1000, 0x0376, std::string("xyz\0\0", 5));
    data.insert(data.end(), second.begin(), second.end());
    data.push_back(0);
    data.push_back(0);
    data.push_back(0x55); // after the end of the list

    const DialogInitData init(data.data(), data.size());
    ASSERT_EQ(init.GetEntries().size(), 2u);
    EXPECT_EQ(init.GetEntries()[0].nIDC, 1004);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(init.GetEntries()[0].pData), 3), std::string("ab\0", 3));
    EXPECT_EQ(init.GetEntries()[1].nMsg, 0x0376);
    EXPECT_EQ(init.GetEntries()[1].cbData, 5u);
    EXPECT_EQ(init.GetEntries()[1].pData[0], 'x');
}

TEST(TemplateTest, TruncatedInitialDataEndsTheList)
{
    std::vector<BYTE> data = Entry(1004, 0x0403, "one");
    const std::vector<BYTE> second = Entry(1004, 0x0403, "second entry");
    data.insert(data.end(), second.begin(), second.end() - 4);
    const DialogInitData init(data.data(), data.size());
    ASSERT_EQ(init.GetEntries().size(), 1u);
    EXPECT_EQ(init.GetEntries()[0].cbData, 3u);
}

} // namespace
