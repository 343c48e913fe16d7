#include "document/data_file_import.h"

#include <algorithm>
#include <memory>
#include <new>

#include "storage/article_record.h"
#include "document/article_references.h"
#include "document/id_translation.h"
#include "storage/file_password.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "framework/string_table.h"
#include "index/query_list.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/file_settings.h"

namespace {

constexpr int kBookmarkedKey = 1;
constexpr int32_t kNotImported = -1;
constexpr int16_t kClearedFlags = CArticleRecord::kTracked | CArticleRecord::kTrackedSaved | CArticleRecord::kPlaceholder;

// Entries of a table that can be reached at all (see the compactor for the same bound).
int32_t ReachableEntries(CDataFile& file, int table)
{
    int64_t count = file.GetTableCount(table);
    int64_t bound = static_cast<int64_t>(file.GetWalkLimit()) * CDataFile::kEntriesPerBlock;
    return static_cast<int32_t>(std::max<int64_t>(0, std::min(count, bound)));
}

// An empty slot, or one that cannot be read (code 5), is passed over; a broken index chain ends
// the walk. Other errors end the import.
bool SlotExists(CDataFile& file, int table, int32_t i, bool& chainBroken)
{
    try {
        return file.GetEntry(table, i) != kNoneId;
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord)
            throw;
        chainBroken = true;
        return false;
    }
}

}  // namespace

CDataFileImport::~CDataFileImport()
{
    m_other.CloseIfOpen();
}

int32_t CDataFileImport::Lookup(const std::vector<int32_t>& map, int32_t id)
{
    return id >= 0 && static_cast<size_t>(id) < map.size() ? map[static_cast<size_t>(id)] : kNoneId;
}

std::string CDataFileImport::NameKey(const std::string& name)
{
    std::string key = name;
    AnsiLowerBuffer(&key[0], key.size());
    return key;
}

bool CDataFileImport::BeforeRecord()
{
    m_host.PumpPendingMessage();
    return m_host.IsProgressCancelled();
}

bool CDataFileImport::Import(const std::string& path, const CKeywordIdSet& extraKeywords)
{
    bool progress = false;
    try {
        m_other.Open(path, true);
        CFilePassword password;
        try {
            password.Load(m_other);
        } catch (const CQuorError& error) {
            if (error.Code() != kCorruptedRecord)
                throw;
        }
        if (password.HasPassword() && !m_host.PromptPassword(path, password))
            throw CQuorError(kWrongPassword, path);

        int64_t range = int64_t{m_other.GetGroupCount()} + m_other.GetKeywordCount() + 2 * int64_t{m_other.GetArticleCount()};
        m_host.BeginProgress(QuorLoadString(IDS_IMPORT_DATA_FILE_CAPTION), std::string(), CExchangeHost::CappedRange(range));
        progress = true;
        // The added articles join the import batch (the import driver may have started it already).
        bool recording = m_document.GetImportBatch().IsRecording();
        if (!recording)
            m_document.SetImportRecording(true);
        try {
            Run(path, extraKeywords);
        } catch (...) {
            if (!recording)
                m_document.SetImportRecording(false);
            throw;
        }
        if (!recording)
            m_document.SetImportRecording(false);
        m_other.Close();
        progress = false;
        m_host.EndProgress();
        return true;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    m_other.CloseIfOpen();
    if (progress)
        m_host.EndProgress();
    return false;
}

void CDataFileImport::Run(const std::string& path, const CKeywordIdSet& extraKeywords)
{
    ReadOtherSettings();
    try {
        CKeyedRecordStream::ReadIdSet(&m_other, kBookmarkedKey, m_bookmarked);
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord)
            throw;
        m_bookmarked.RemoveAll();
    }
    m_bookmarked.Sort();
    TransferQueries();
    TransferGroups();
    TransferKeywords();
    TransferArticles(extraKeywords);
    UpdateLinks();
}

void CDataFileImport::ReadOtherSettings()
{
    LogFont font;
    int32_t color = -1;
    if (m_settings) {
        CAppSettings other(*m_settings);
        CFileSettings(other).Load(m_other);
        font = other.GetFileFont();
        color = other.GetFileTextColor();
        m_wordWrap = other.GetWordWrap();
    }
    m_charFormat.faceName = GetFaceName(font);
    m_charFormat.height = font.lfHeight;
    m_charFormat.weight = font.lfWeight;
    m_charFormat.italic = font.lfItalic != 0;
    m_charFormat.underline = font.lfUnderline != 0;
    m_charFormat.strikeOut = font.lfStrikeOut != 0;
    m_charFormat.charSet = font.lfCharSet;
    m_charFormat.pitchAndFamily = font.lfPitchAndFamily;
    // The converted text takes the automatic colour.
    m_charFormat.autoColor = true;
    m_charFormat.color = 0;
    (void)color;
}

void CDataFileImport::TransferQueries()
{
    CQueryList queries;
    queries.Load(m_other);
    for (int i = 0; i < queries.GetCount(); ++i) {
        std::string name, text;
        int32_t from, to;
        queries.GetAt(i, name, text, from, to);
        m_document.GetQueryList().Add(name, text, from, to);
    }
    if (queries.GetCount() > 0)
        m_host.RebuildSavedQueryMenu();
}

// Walks a table of the other file whose records carry names: each record that reads and has a name
// is matched by name, without regard to case, to one of this document's (`ownIds`, named by
// `ownName`) or added through `add`; `map` gets the document's id for each slot and `each(record, id)`
// runs for each record mapped.
template <class Record, class ReadRecord, class Add, class Each>
void CDataFileImport::TransferByName(int table, const std::vector<int32_t>& ownIds,
                                     const std::function<std::string(int32_t)>& ownName, ReadRecord read,
                                     Add add, std::vector<int32_t>& map, Each each)
{
    std::unordered_map<std::string, int32_t> names;
    for (int32_t id : ownIds)
        names.emplace(NameKey(ownName(id)), id);

    int32_t entries = ReachableEntries(m_other, table);
    map.assign(static_cast<size_t>(entries), kNoneId);
    bool broken = false;
    for (int32_t slot = 0; slot < entries && !broken; ++slot) {
        BeforeRecord();
        if (!SlotExists(m_other, table, slot, broken))
            continue;
        Record record;
        try {
            read(record, slot);
        } catch (const CQuorError& error) {
            if (error.Code() != kCorruptedRecord)
                throw;
            continue;
        }
        if (record.GetName().empty())
            continue;
        const std::string key = NameKey(record.GetName());
        auto found = names.find(key);
        int32_t id = found != names.end() ? found->second : add(record);
        if (found == names.end())
            names.emplace(key, id);
        map[static_cast<size_t>(slot)] = id;
        each(record, id);
        m_host.StepProgress();
    }
}

void CDataFileImport::TransferGroups()
{
    m_host.SetProgressText(QuorLoadString(IDS_IMPORT_TRANSFERRING_GROUPS));
    CGroupIdSet existing;
    m_document.GetAllKeywordGroupIds(existing);
    TransferByName<CKeywordGroupRecord>(
        CDataFile::kGroupTable, existing.Values(), [&](int32_t id) { return m_document.GetKeywordGroupName(id); },
        [&](CKeywordGroupRecord& record, int32_t slot) { record.ReadName(m_other, slot); },
        [&](const CKeywordGroupRecord& record) {
            CKeywordGroupRecord group;
            group.SetName(record.GetName());
            return m_document.AddKeywordGroup(group);
        },
        m_groupMap, [](const CKeywordGroupRecord&, int32_t) {});
}

void CDataFileImport::TransferKeywords()
{
    m_host.SetProgressText(QuorLoadString(IDS_IMPORT_TRANSFERRING_KEYWORDS));
    CKeywordIdSet existing;
    m_document.GetAllKeywordIds(existing);
    TransferByName<CKeywordRecord>(
        CDataFile::kKeywordTable, existing.Values(), [&](int32_t id) { return m_document.GetKeywordName(id); },
        [&](CKeywordRecord& record, int32_t slot) { record.Read(m_other, slot); },
        [&](const CKeywordRecord& record) { return m_document.AddKeyword(record.GetName(), false); },
        m_keywordMap, [&](const CKeywordRecord& record, int32_t id) {
            // The keyword joins the groups it had there that were brought over.
            CIdSet own;
            record.GetGroupIds(own);
            CGroupIdSet groups;
            TranslateIds(own, [&](int32_t group) { return Lookup(m_groupMap, group); }, groups);
            if (groups.GetSize() > 0) {
                CKeywordIdSet keyword;
                keyword.Add(id);
                m_document.AddKeywordsToGroups(keyword, groups);
            }
        });
}

// The first private article asks whether the open file gets a password (when it has none): Yes
// runs Create Password until it succeeds or the user says No.
bool CDataFileImport::KeepPrivate()
{
    if (m_document.HasPassword())
        return true;
    if (m_privateChoice == 2)
        return false;
    std::string question = QuorFormat1(QuorLoadString(IDS_IMPORT_PRIVATE_ARTICLES), m_document.GetTitle());
    while (m_host.Confirm(question, CExchangeHost::kQuestion)) {
        std::string password = m_host.CreatePassword();
        if (!password.empty() && m_document.SetPassword(password)) {
            m_privateChoice = 1;
            return true;
        }
    }
    m_privateChoice = 2;
    return false;
}

void CDataFileImport::TransferArticles(const CKeywordIdSet& extraKeywords)
{
    m_host.SetProgressText(QuorLoadString(IDS_IMPORT_TRANSFERRING_ARTICLES));
    int32_t entries = ReachableEntries(m_other, CDataFile::kArticleTable);
    m_articleMap.assign(static_cast<size_t>(entries), kNoneId);
    bool broken = false;
    for (int32_t slot = 0; slot < entries && !broken; ++slot) {
        // Stop ends this pass; the links of what was imported are still put right.
        if (BeforeRecord())
            break;
        if (!SlotExists(m_other, CDataFile::kArticleTable, slot, broken))
            continue;
        CArticleRecord record;
        try {
            record.Read(m_other, slot);
        } catch (const CQuorError& error) {
            if (error.Code() != kCorruptedRecord)
                throw;
            continue;
        }
        if (record.IsPlaceholder())
            continue;

        CIdSet own;
        record.GetKeywordIds(own);
        CKeywordIdSet keywords;
        TranslateIds(own, [&](int32_t keyword) { return Lookup(m_keywordMap, keyword); }, keywords);
        keywords.Values().insert(keywords.Values().end(), extraKeywords.Values().begin(), extraKeywords.Values().end());
        keywords.Sort();
        record.SetKeywordIds(keywords);

        if (record.GetVersion() > CArticleRecord::kPlainTextVersion) {
            record.SetLegacyText(std::string());
        } else {
            record.SetRichTextVersion();
            record.SetRtfText(m_host.PlainTextToRtf(record.GetText(), m_charFormat));
            record.SetText(std::string());
            CArticleInfo info = record.GetInfo();
            info.SetWordWrap(m_wordWrap);
            record.SetInfo(info);
        }
        record.SetFlags(static_cast<int16_t>(record.GetFlags() & ~kClearedFlags));
        if (record.IsPrivate() && !KeepPrivate())
            record.SetPrivate(false);

        int32_t id = m_document.AddArticle(record, m_bookmarked.Contains(slot), false);
        m_articleMap[static_cast<size_t>(slot)] = id;
        ++m_imported;
        m_host.StepProgress();
    }
}

void CDataFileImport::UpdateLinks()
{
    m_host.SetProgressText(QuorLoadString(IDS_IMPORT_UPDATING_LINKS));
    for (size_t slot = 0; slot < m_articleMap.size(); ++slot) {
        int32_t id = m_articleMap[slot];
        if (id == kNoneId)
            continue;
        BeforeRecord();
        CArticleRecord record;
        m_document.LoadArticle(id, record);
        bool refers = TranslateArticleReferences(record, [&](int32_t article) {
            int32_t mapped = Lookup(m_articleMap, article);
            return mapped == kNoneId ? kNotImported : mapped;
        });
        if (refers)
            m_document.UpdateArticle(id, record, false);
        m_host.StepProgress();
    }
}
