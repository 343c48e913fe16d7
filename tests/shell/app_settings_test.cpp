#include "shell/app_settings.h"

#include <cstring>
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/clock.h"
#include "shell/file_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/data_file.h"
#include "storage/date.h"
#include "storage/keyed_record_stream.h"
#include "tests/support/storage_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

class CFixedClock : public IClock {
public:
    QuorLocalTime Now() const override
    {
        QuorLocalTime t;
        t.year = 2026;
        t.month = 12;
        t.day = 10;
        return t;
    }
    uint32_t TickCount() const override { return tick; }
    uint32_t tick = 1234;
};

std::vector<uint8_t> FromHex(const std::string& hex)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

struct AppSettingsTest : ::testing::Test {
    AppSettingsTest()
    {
        previousClock = SetClock(&clock);
        LogFont f;
        f.lfHeight = -12;
        SetFaceName(f, "Georgia");
        fonts.SetLogFont(f);
        fonts.SetColor(0x00AA00);
        dirs.Load(store, "C:\\Q\\quorvane.exe", false);
        dirs.SetConfiguredFolder(CDirectories::kAttachments, "C:\\Att");
        dirs.SetFolder(CDirectories::kAttachments, "C:\\LastDialog");
        settings.SetWindowTextColorSource([] { return 0x00123456u; });
    }
    ~AppSettingsTest() override
    {
        SetClock(previousClock);
        ::SetPivotYear(0);
    }
    CFixedClock clock;
    const IClock* previousClock = nullptr;
    CMemoryProfileStore store;
    CFontSettings fonts;
    CDirectories dirs;
    CAppSettings settings{store, fonts, dirs};
};

// Payload of a record: the bytes after its length field.
void Decode(CAppSettings& s, const std::vector<uint8_t>& record)
{
    CFileSettings(s).Decode(record.data() + 4, record.size() - 4);
}

}  // namespace

TEST_F(AppSettingsTest, DefaultsWithNothingStored)
{
    settings.ResetSettings();
    struct Case {
        const char* name;
        long long actual;
        long long expected;
    } cases[] = {
        {"ArtSettings", settings.GetArtSettings(), 1234},
        {"UserFolderBrowser", settings.GetUserFolderBrowser(), 0},
        {"SaveFullPathnames", settings.GetSaveFullPathnames(), 1},
        {"SnoozeDuration", settings.GetSnoozeDuration(), 0},
        {"CustomTextColor", settings.GetCustomTextColor(), -1},
        {"UpdateCheckFreq", settings.GetUpdateCheckFreq(), -1},
        {"UpdateCheckLastDate", settings.GetUpdateCheckLastDate(), 0},
        {"LinkLocationMode", settings.GetLinkLocationMode(), 0},
        {"ShowImageGallery", settings.GetShowImageGallery(), 1},
        {"GalleryImageSize", settings.GetGalleryImageSize(), 1},
        {"UsePortableNames", settings.GetUsePortableNames(), 1},
        {"PreviewColor", settings.GetPreviewColor(), -1},
        {"FileAutoColor", settings.GetFileAutoColor(), 0},
        {"FileTextColor", settings.GetFileTextColor(), 0x00AA00},
        {"ImportDuplicateAction", settings.GetImportDuplicateAction(), 2},
        {"ShowTipOfTheDay", settings.GetShowTipOfTheDay(), 1},
        {"ExportTextLineLength", settings.GetExportTextLineLength(), 70},
        {"PivotYear", settings.GetPivotYear(), 2099},
        {"OpenImport", settings.GetOpenImport(), 1},
        {"ActiveLinks", settings.GetActiveLinks(), 1},
        {"AutoUpdateQuery", settings.GetAutoUpdateQuery(), 1},
        {"ShowAttachment", settings.GetShowAttachment(), 1},
        {"ShowTag", settings.GetShowTag(), 1},
        {"DateColor", settings.GetDateColor(), 0xFF0000},
        {"TitleColor", settings.GetTitleColor(false), 0},
        {"ShowDate", settings.GetShowDate(), 1},
        {"DisplayDate", settings.GetDisplayDate(), 1},
        {"WordWrap", settings.GetWordWrap(), 1},
        {"AutoSave", settings.GetAutoSave(), 0},
        {"FileDirty", settings.IsFileDirty(), 0},
        {"LoadLastFile", settings.GetLoadLastFile(), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.name;
    EXPECT_EQ(GetFaceName(settings.GetFileFont()), "Georgia");
    EXPECT_EQ(settings.GetFileFont().lfHeight, -12);
    EXPECT_EQ(settings.GetFontDescription(), "");
    EXPECT_EQ(settings.GetLastFileName(), "");
    EXPECT_EQ(GetPivotYear(), 2099);
    // Nothing is written by loading.
    EXPECT_TRUE(store.Writes().empty());
}

TEST_F(AppSettingsTest, EverySettingHasItsSectionAndName)
{
    settings.ResetSettings();
    ASSERT_TRUE(settings.SaveToProfile());
    struct Case {
        const char* section;
        const char* key;
        bool isText;
        int number;
    } written[] = {
        {"Quorvane", "ArtSettings", false, 1234},
        {"Quorvane", "UserSettings", true, 0},
        {"Quorvane", "UserFolderBrowser", false, 0},
        {"Quorvane", "FolderBrowserName", true, 0},
        {"Quorvane", "DefaultReminderTime", false, 0},
        {"Quorvane", "DefaultReminderTimeType", false, 0},
        {"Quorvane", "SnoozeDuration", false, 0},
        {"Quorvane", "PlayReminderSound", false, 0},
        {"Index Display", "ShowReminderStatus", false, 0},
        {"Quorvane", "CustomTextColor", false, -1},
        {"Index Display", "ShowImageGallery", false, 1},
        {"Index Display", "GalleryImageSize", false, 1},
        {"Index Display", "IndexMode", false, 0},
        {"Quorvane", "FindTitlesOnly", false, 0},
        {"Quorvane", "UsePortableNames", false, 1},
        {"Quorvane", "HTMLCustomSet", true, 0},
        {"Quorvane", "HTMLEncodeSet", false, 0},
        {"Quorvane", "HTMLExportType", false, 0},
        {"Index Display", "ShowHypertextStatus", false, 0},
        {"Index Display", "ShowPrivateStatus", false, 0},
        {"Quorvane", "HighlightColor", false, -1},
        {"Index Display", "ShowTime", false, 0},
        {"Date", "DisplayTime", false, 0},
        {"Index Display", "PreviewColor", false, -1},
        {"Quorvane", "ImportDefaultTitle", false, 0},
        {"Quorvane", "ImportDuplicateAction", false, 2},
        {"Quorvane", "TipOfTheDay", false, 0},
        {"Quorvane", "ShowTipOfTheDay", false, 1},
        {"Quorvane", "IndexReportMode", false, 0},
        {"Quorvane", "ExportTextLineLength", false, 70},
        {"Quorvane", "DefaultKeywords", false, 0},
        {"Quorvane", "DefaultTitle", false, 0},
        {"Quorvane", "PivotYear", false, 2099},
        {"Quorvane", "OpenImport", false, 1},
        {"Date", "ImportDate", false, 0},
        {"Quorvane", "ActiveLinks", false, 1},
        {"Index Display", "SelectListMode", false, 0},
        {"Index Display", "AutoOpenInternet", false, 0},
        {"Index Display", "AutoOpenFile", false, 0},
        {"Index Display", "SortOrder", false, 0},
        {"Quorvane", "AutoUpdateQuery", false, 1},
        {"Index Display", "ShowAttachment", false, 1},
        {"Index Display", "ShowTag", false, 1},
        {"Index Display", "DateColor", false, 0xFF0000},
        {"Index Display", "TitleColor", false, 0},
        {"Index Display", "ShowDate", false, 1},
        {"Date", "DisplayDate", false, 1},
        {"Quorvane", "InitList", false, 0},
        {"Quorvane", "ArtSize", false, 0},
        {"Quorvane", "AutoSave", false, 0},
        {"DialogBoxes", "KeywordTop", false, 0},
        {"DialogBoxes", "KeywordLeft", false, 0},
        {"DialogBoxes", "KeywordBottom", false, 0},
        {"DialogBoxes", "KeywordRight", false, 0},
    };
    for (const Case& c : written) {
        const auto* v = store.Find(c.section, c.key);
        ASSERT_NE(v, nullptr) << c.section << "/" << c.key;
        EXPECT_EQ(v->section, c.section) << c.key;
        EXPECT_EQ(v->isText, c.isText) << c.key;
        if (!c.isText) {
            EXPECT_EQ(v->number, c.number) << c.key;
        }
    }
    EXPECT_EQ(store.Writes().size(), sizeof written / sizeof written[0]);
    for (const char* own : {"UpdateCheckFreq", "UpdateCheckLastDate", "FlatToolbar", "ToolbarButtonSize"})
        EXPECT_EQ(store.Find("Quorvane", own), nullptr) << own;
    // The rectangle comes after the other settings, then GalleryImageSize and ShowImageGallery.
    const auto& w = store.Writes();
    EXPECT_EQ(w[w.size() - 3].key, "KeywordRight");
    EXPECT_EQ(w[w.size() - 2].key, "GalleryImageSize");
    EXPECT_EQ(w.back().key, "ShowImageGallery");
}

TEST_F(AppSettingsTest, StoredValuesLoadInAnyCaseOfSectionAndClamp)
{
    store.WriteInt("QUORVANE", "ExportTextLineLength", 132);
    store.WriteInt("index display", "SortOrder", 3);
    store.WriteInt("Date", "DisplayDate", 0);
    store.WriteString("QuorVane", "HTMLCustomSet", "<&>");
    store.WriteInt("Quorvane", "SnoozeDuration", 8);
    store.WriteInt("Quorvane", "DefaultReminderTime", 86400);
    store.WriteInt("Quorvane", "DefaultReminderTimeType", 2);
    store.WriteInt("Quorvane", "OpenImport", 5);
    store.WriteInt("Quorvane", "ShowTipOfTheDay", -3);
    store.WriteInt("Quorvane", "PivotYear", 2049);
    store.WriteInt("DialogBoxes", "KeywordLeft", 10);
    store.WriteInt("DialogBoxes", "KeywordBottom", 300);
    settings.ResetSettings();

    EXPECT_EQ(settings.GetExportTextLineLength(), 132);
    EXPECT_EQ(settings.GetSortOrder(), 3);
    EXPECT_EQ(settings.GetDisplayDate(), 0);
    int type = -1, encode = -1;
    std::string custom;
    settings.GetHtmlExportOptions(type, encode, custom);
    EXPECT_EQ(custom, "<&>");
    EXPECT_EQ(settings.GetSnoozeDuration(), 0);
    int reminderType = -1, reminderTime = -1;
    settings.GetDefaultReminder(reminderType, reminderTime);
    EXPECT_EQ(reminderType, 0);
    EXPECT_EQ(reminderTime, 0);
    EXPECT_EQ(settings.GetOpenImport(), 1);
    EXPECT_EQ(settings.GetShowTipOfTheDay(), 1);
    EXPECT_EQ(GetPivotYear(), 2049);
    EXPECT_EQ(settings.GetKeywordDialogRect().left, 10);
    EXPECT_EQ(settings.GetKeywordDialogRect().bottom, 300);

    // In range: kept.
    store.WriteInt("Quorvane", "SnoozeDuration", 7);
    store.WriteInt("Quorvane", "DefaultReminderTime", 86399);
    store.WriteInt("Quorvane", "DefaultReminderTimeType", 1);
    settings.LoadFromProfile();
    EXPECT_EQ(settings.GetSnoozeDuration(), 7);
    settings.GetDefaultReminder(reminderType, reminderTime);
    EXPECT_EQ(reminderType, 1);
    EXPECT_EQ(reminderTime, 86399);
}

TEST_F(AppSettingsTest, WrittenWhenChangedNeverByPlainOrFileSetters)
{
    settings.ResetSettings();
    settings.SetExportTextLineLength(80);       // plain: the preference pages save afterwards
    settings.SetWordWrap(0);                    // per file: marks the record
    settings.SetLinkLocationMode(1);
    settings.SetDefaultReminder(1, 90000);
    EXPECT_TRUE(store.Writes().empty());
    EXPECT_TRUE(settings.IsFileDirty());
    int type = 0, time = -1;
    settings.GetDefaultReminder(type, time);
    EXPECT_EQ(time, 0);

    settings.SetFindTitlesOnly(1);
    ASSERT_EQ(store.Writes().size(), 1u);
    EXPECT_EQ(store.Writes()[0].key, "FindTitlesOnly");
    settings.SetToolbarButtonSize(5);
    EXPECT_EQ(store.GetInt("Quorvane", "ToolbarButtonSize", -1), 1);
    settings.SetFlatToolbar(0);
    EXPECT_EQ(store.GetInt("Quorvane", "FlatToolbar", -1), 0);
    settings.SetUpdateCheckLastDate(20261210);
    settings.SetUpdateCheckFreq(7);
    settings.SetLoadLastFile(2);
    settings.SetLastFileName("C:\\a.xrd");
    EXPECT_EQ(store.Writes().size(), 7u);
    EXPECT_EQ(store.GetInt("Quorvane", "UpdateCheckLastDate", 0), 20261210);
    EXPECT_EQ(settings.GetLoadLastFile(), 2);
    EXPECT_EQ(settings.GetLastFileName(), "C:\\a.xrd");

    store.ClearWrites();
    settings.SetSortOrder(2);
    EXPECT_EQ(store.GetInt("Index Display", "SortOrder", 0), 2);
    EXPECT_EQ(store.GetInt("Quorvane", "ExportTextLineLength", 0), 80);
    EXPECT_GT(store.Writes().size(), 50u);
}

TEST_F(AppSettingsTest, GettersThatConsultTheStoreOrResolveColours)
{
    settings.ResetSettings();
    EXPECT_EQ(settings.GetFlatToolbar(), 1) << "nothing stored: flat";
    settings.SetFlatToolbar(0);
    EXPECT_EQ(settings.GetFlatToolbar(), 0);
    store.WriteInt("Quorvane", "FlatToolbar", 7);
    EXPECT_EQ(settings.GetFlatToolbar(), 1);

    EXPECT_EQ(settings.GetToolbarButtonSize(), 0);
    store.WriteInt("Quorvane", "ToolbarButtonSize", 9);
    EXPECT_EQ(settings.GetToolbarButtonSize(), 1);

    EXPECT_EQ(settings.GetHighlightColor(), -1);
    store.WriteInt("Quorvane", "HighlightColor", 0x00FFFF);
    EXPECT_EQ(settings.GetHighlightColor(), 0x00FFFF);

    settings.SetTitleColor(-1);
    EXPECT_EQ(settings.GetTitleColor(false), -1);
    EXPECT_EQ(settings.GetTitleColor(true), 0x123456);
    settings.SetDateColor(-1);
    EXPECT_TRUE(settings.IsDateColorAutomatic());
    EXPECT_EQ(settings.GetDateColor(), 0x123456);
    EXPECT_TRUE(settings.IsPreviewColorAutomatic());

    settings.SetPivotYear(2030);
    EXPECT_EQ(GetPivotYear(), 2030);
}

TEST_F(AppSettingsTest, LinkLocationPathDefaultsToAttachmentsAndIsTrimmed)
{
    settings.ResetSettings();
    EXPECT_EQ(settings.GetLinkLocationPath(), "C:\\Att");
    EXPECT_FALSE(settings.IsFileDirty());
    settings.SetLinkLocationPath("   ");
    EXPECT_FALSE(settings.IsFileDirty());
    settings.SetLinkLocationPath("  D:\\Links\t");
    EXPECT_TRUE(settings.IsFileDirty());
    EXPECT_EQ(settings.GetLinkLocationPath(), "D:\\Links");
    settings.SetLinkLocationMode(3);
    EXPECT_EQ(settings.GetLinkLocationMode(), 0);
}

TEST_F(AppSettingsTest, FolderBrowserNameOnlyWithMatchingDigest)
{
    EXPECT_EQ(CAppSettings::FolderBrowserDigest(1234, "C:\\Tools\\browse.exe"), "14b31907be2bbf653ceb5355dd6c3eb5");
    EXPECT_EQ(CAppSettings::FolderBrowserDigest(-5, ""), "9ba15abaebd71bef30daa065aafc139f");

    settings.ResetSettings();
    clock.tick = 1234;
    settings.SetFolderBrowserName("C:\\Tools\\browse.exe");
    EXPECT_EQ(settings.GetUserSettings(), "14b31907be2bbf653ceb5355dd6c3eb5");
    EXPECT_EQ(settings.GetFolderBrowserName(), "C:\\Tools\\browse.exe");
    settings.SaveToProfile();

    // Edited in the store by hand: not used until set again through the program.
    store.WriteString("Quorvane", "FolderBrowserName", "C:\\evil.exe");
    clock.tick = 999;
    settings.ResetSettings();
    EXPECT_EQ(settings.GetArtSettings(), 1234);  // the stored salt wins over the tick count
    EXPECT_EQ(settings.GetFolderBrowserName(), "");
}

TEST_F(AppSettingsTest, RecordFourIsByteExact)
{
    settings.ResetSettings();
    settings.SetAutoUpdateDates(1);
    settings.SetDisplayDate(1);
    settings.SetInitList(2);
    settings.SetArtSize(3);
    settings.SetWordWrap(1);
    settings.SetAutoSave(5);
    LogFont f;
    f.lfHeight = -13;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 0x22;
    SetFaceName(f, "Arial");
    settings.SetFileFont(f);
    settings.SetFileTextColor(0x00112233);
    settings.SetFileAutoColor(0);
    settings.SetFontDescription("Arial, 10 pt, Bold");
    settings.SetLinkLocationMode(2);
    settings.SetLinkLocationPath("D:\\Links");
    settings.SetSaveFullPathnames(0);

    std::vector<uint8_t> expected = FromHex(
        "6e000000010001000200030001000500f3ff000000000000bc02010000000302"
        "0122417269616c00000000000000000000000000000000000000000000000000"
        "0000332211000000000013000000417269616c2c2031302070742c20426f6c64"
        "00020009000000443a5c4c696e6b73000000");
    EXPECT_EQ(CFileSettings(settings).Encode(), expected);

    // Read back over defaults: every per-file field returns, the ignored shorts do not.
    CAppSettings other(store, fonts, dirs);
    other.ResetSettings();
    other.SetWordWrap(0);
    Decode(other, expected);
    EXPECT_FALSE(other.IsFileDirty());
    EXPECT_EQ(other.GetAutoUpdateDates(), 1);
    EXPECT_EQ(other.GetWordWrap(), 1);
    EXPECT_EQ(other.GetInitList(), 0);
    EXPECT_EQ(other.GetAutoSave(), 0);
    EXPECT_EQ(std::memcmp(&other.GetFileFont(), &f, sizeof f), 0);
    EXPECT_EQ(other.GetFileTextColor(), 0x00112233);
    EXPECT_EQ(other.GetFileAutoColor(), 0);
    EXPECT_EQ(other.GetFontDescription(), "Arial, 10 pt, Bold");
    EXPECT_EQ(other.GetLinkLocationMode(), 2);
    EXPECT_EQ(other.GetLinkLocationPath(), "D:\\Links");
    EXPECT_EQ(other.GetSaveFullPathnames(), 0);
}

TEST_F(AppSettingsTest, RecordFourWithEmptyStringsHasLength82)
{
    settings.ResetSettings();
    std::vector<uint8_t> record = CFileSettings(settings).Encode();
    ASSERT_EQ(record.size(), 86u);
    EXPECT_EQ(record[0], 82);
    EXPECT_EQ(record[1] | record[2] | record[3], 0);
    // FontDescription's int32 0 at offset 74, LinkLocationPath's at 80.
    for (int i = 74; i < 78; ++i)
        EXPECT_EQ(record[i], 0) << i;
    EXPECT_EQ(record[78], 0);  // LinkLocationMode 0
    for (int i = 80; i < 84; ++i)
        EXPECT_EQ(record[i], 0) << i;
    EXPECT_EQ(record[84], 1);  // SaveFullPathnames 1
}

// Comments follow SaveFullPathnames only when there are some: a file without comments keeps the
// record older programs wrote, and the length grows by the string's size when there are.
TEST_F(AppSettingsTest, RecordFourKeepsCommentsAfterSaveFullPathnames)
{
    settings.ResetSettings();
    const std::vector<uint8_t> plain = CFileSettings(settings).Encode();
    settings.SetComments("");
    EXPECT_EQ(CFileSettings(settings).Encode(), plain);

    settings.SetComments("Notes\r\nof 2026");
    const std::vector<uint8_t> record = CFileSettings(settings).Encode();
    ASSERT_EQ(record.size(), plain.size() + 4 + 14 + 1);
    EXPECT_EQ(record[0], 82 + 19);
    EXPECT_TRUE(std::equal(plain.begin() + 4, plain.end(), record.begin() + 4));
    EXPECT_EQ(record[86], 15);
    EXPECT_EQ(std::string(record.begin() + 90, record.end()), std::string("Notes\r\nof 2026", 15));

    CAppSettings other(store, fonts, dirs);
    other.ResetSettings();
    Decode(other, record);
    EXPECT_EQ(other.GetComments(), "Notes\r\nof 2026");
    EXPECT_EQ(other.GetSaveFullPathnames(), 1);
    // A record without them (an older file) reads none; a reset forgets those of the last file.
    Decode(other, plain);
    EXPECT_EQ(other.GetComments(), "");
    other.SetComments("x");
    other.ResetSettings();
    EXPECT_EQ(other.GetComments(), "");
}

TEST_F(AppSettingsTest, ShortOrDamagedRecordFourKeepsDefaultsForTheRest)
{
    settings.ResetSettings();
    settings.SetWordWrap(0);
    settings.SetFontDescription("desc");
    settings.SetLinkLocationPath("D:\\L");
    settings.SetFileTextColor(0x0000FF);
    settings.SetFileAutoColor(1);
    settings.SetLinkLocationMode(1);
    settings.SetSaveFullPathnames(0);
    const std::vector<uint8_t> full = CFileSettings(settings).Encode();

    auto readPrefix = [&](size_t payloadBytes) {
        CAppSettings s(store, fonts, dirs);
        s.ResetSettings();
        CFileSettings(s).Decode(full.data() + 4, payloadBytes);
        return s;
    };
    {
        CAppSettings s = readPrefix(66);  // ends right after FileTextColor
        EXPECT_EQ(s.GetWordWrap(), 0);
        EXPECT_EQ(s.GetFileTextColor(), 0x0000FF);
        EXPECT_EQ(s.GetFileAutoColor(), 0);
        EXPECT_EQ(s.GetFontDescription(), "");
        EXPECT_EQ(s.GetSaveFullPathnames(), 1);
    }
    {
        CAppSettings s = readPrefix(40);  // ends inside the font
        EXPECT_EQ(s.GetWordWrap(), 0);
        EXPECT_EQ(GetFaceName(s.GetFileFont()), "Georgia");
        EXPECT_EQ(s.GetFileTextColor(), 0x00AA00);
        EXPECT_EQ(s.GetFileAutoColor(), 0);
    }
    {
        CAppSettings s = readPrefix(76);  // ends inside FontDescription's text
        EXPECT_EQ(s.GetFileAutoColor(), 1);
        EXPECT_EQ(s.GetFontDescription(), "");
        EXPECT_EQ(s.GetLinkLocationMode(), 0);
    }
    {
        CAppSettings s = readPrefix(0);
        EXPECT_EQ(s.GetWordWrap(), 1);
        EXPECT_EQ(s.GetFileAutoColor(), 0);
    }

    struct Damage {
        const char* what;
        size_t offset;  // in the whole record
        std::vector<uint8_t> bytes;
    } damages[] = {
        {"negative description length", 74, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"oversized description length", 74, {0x00, 0x10, 0x00, 0x00}},
        {"face without its NUL", 34, std::vector<uint8_t>(32, 'A')},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bad = full;
        std::copy(d.bytes.begin(), d.bytes.end(), bad.begin() + static_cast<long>(d.offset));
        CAppSettings s(store, fonts, dirs);
        s.ResetSettings();
        Decode(s, bad);
        EXPECT_EQ(s.GetFontDescription(), "") << d.what;
        EXPECT_EQ(s.GetLinkLocationPath(), "C:\\Att") << d.what;  // not read: the default folder
        EXPECT_EQ(s.GetLinkLocationMode(), 0) << d.what;
        EXPECT_EQ(s.GetSaveFullPathnames(), 1) << d.what;
        EXPECT_EQ(s.GetWordWrap(), 0) << d.what;  // read before the damage
    }
    {
        std::vector<uint8_t> bad = full;
        bad[34 + 31] = 'Z';  // a 31-character face with its NUL in the last byte is still whole
        std::fill(bad.begin() + 34, bad.begin() + 34 + 31, 'B');
        bad[34 + 31] = 0;
        CAppSettings s(store, fonts, dirs);
        s.ResetSettings();
        Decode(s, bad);
        EXPECT_EQ(GetFaceName(s.GetFileFont()), std::string(31, 'B'));
        EXPECT_EQ(s.GetFontDescription(), "desc");
    }
    {
        // A link mode outside 0..2 keeps the default; the string that follows is still read.
        std::vector<uint8_t> bad = full;
        size_t modeOffset = 74 + 4 + 5;
        bad[modeOffset] = 7;
        CAppSettings s(store, fonts, dirs);
        s.ResetSettings();
        Decode(s, bad);
        EXPECT_EQ(s.GetLinkLocationMode(), 0);
        EXPECT_EQ(s.GetLinkLocationPath(), "D:\\L");
    }
}

namespace {

struct FileSettingsTest : AppSettingsTest {
    FileSettingsTest() { file.Create(folder.File("kb.xrd"), 400); }
    ~FileSettingsTest() override { file.CloseIfOpen(); }

    // Record 4 as stored, `n` bytes of it.
    std::vector<uint8_t> StoredRecord(int32_t n)
    {
        CKeyedRecordStream stream;
        stream.Open(&file, CFileSettings::kKey, CRecordStream::kRead);
        std::vector<uint8_t> bytes(static_cast<size_t>(n));
        EXPECT_EQ(stream.ReadRaw(bytes.data(), n), 0);
        stream.Close();
        return bytes;
    }
    // Stores `bytes` (a multiple of 4) as record 4, as they stand.
    void StoreRecord(const std::vector<uint8_t>& bytes)
    {
        CKeyedRecordStream stream;
        stream.Open(&file, CFileSettings::kKey, CRecordStream::kRewrite);
        for (size_t i = 0; i + 4 <= bytes.size(); i += 4)
            stream.WriteInt(Get32(std::string(bytes.begin() + long(i), bytes.begin() + long(i) + 4), 0));
        stream.Close();
    }

    CTempFolder folder;
    CDataFile file;
};

}  // namespace

TEST_F(FileSettingsTest, WrittenOnlyWhenChangedAndReadBackFromTheDataFile)
{
    CFileSettings(settings).Load(file);  // no record 4 yet: the defaults
    EXPECT_EQ(settings.GetWordWrap(), 1);
    CFileSettings(settings).Save(file);
    EXPECT_EQ(CKeyedRecordStream::FindKey(&file, 4), kNoneIdValue);

    settings.SetWordWrap(0);
    settings.SetFontDescription("Georgia, 9 pt");
    settings.SetLinkLocationMode(1);
    CFileSettings(settings).Save(file);
    EXPECT_FALSE(settings.IsFileDirty());
    std::vector<uint8_t> expected = CFileSettings(settings).Encode();
    EXPECT_EQ(StoredRecord(static_cast<int32_t>(expected.size())), expected);

    file.Close();
    file.Open(folder.File("kb.xrd"), false);
    CAppSettings reader(store, fonts, dirs);
    CFileSettings(reader).Load(file);
    EXPECT_EQ(reader.GetWordWrap(), 0);
    EXPECT_EQ(reader.GetFontDescription(), "Georgia, 9 pt");
    EXPECT_EQ(reader.GetLinkLocationMode(), 1);
    EXPECT_FALSE(reader.IsFileDirty());
}

TEST_F(FileSettingsTest, DamagedRecordNeverFailsTheOpen)
{
    // A length field far beyond the record: nothing of it is taken (its blocks end in zero padding).
    settings.ResetSettings();
    settings.SetWordWrap(0);
    std::vector<uint8_t> record = CFileSettings(settings).Encode();
    record.resize(4 + 12);  // the six shorts only
    record[0] = 0xFF;
    record[1] = 0xFF;
    record[2] = 0x00;
    record[3] = 0x01;  // 0x0100FFFF
    StoreRecord(record);
    CAppSettings reader(store, fonts, dirs);
    EXPECT_NO_THROW(CFileSettings(reader).Load(file));
    EXPECT_EQ(reader.GetWordWrap(), 1);
    EXPECT_EQ(GetFaceName(reader.GetFileFont()), "Georgia");
    EXPECT_EQ(reader.GetFontDescription(), "");

    // A length just past the record's one block, and a negative length: nothing is read either.
    record[0] = 0xFD;
    record[1] = 0x01;
    record[2] = 0x00;
    record[3] = 0x00;  // 509 bytes after the length field: one past the block
    StoreRecord(record);
    CAppSettings pastBlock(store, fonts, dirs);
    EXPECT_NO_THROW(CFileSettings(pastBlock).Load(file));
    EXPECT_EQ(pastBlock.GetWordWrap(), 1);
    record[3] = 0xFF;
    StoreRecord(record);
    CAppSettings negative(store, fonts, dirs);
    EXPECT_NO_THROW(CFileSettings(negative).Load(file));
    EXPECT_EQ(negative.GetWordWrap(), 1);
}
