// Failing disks and damaged fields as the user meets them: every failure of a read, a write or a
// flush is the program's error with its mapped code and the file's path (none swallowed, none turned
// into "corrupted" or "unknown"), a field that would inflate to gigabytes is refused at once, a
// truncated file says so, and a damaged table is one message, not one per record.
#include <gtest/gtest.h>

#include <chrono>
#include <zlib.h>

#include "storage/byte_order.h"
#include "storage/keyed_record_stream.h"
#include "tests/document/doc_fixture.h"
#include "tests/support/storage_helpers.h"

namespace {

// Fails the `nth` call (0 = the first) of one kind on one file with a Win32 error number, and every
// later one of that kind when `sticky`.
class CFailingCall : public IFileFaults {
public:
    CFailingCall(std::string path, Call call, int nth, long osError, bool sticky = false)
        : m_path(std::move(path)), m_call(call), m_nth(nth), m_osError(osError), m_sticky(sticky)
    {
        m_previous = SetFileFaults(this);
    }
    ~CFailingCall() override { SetFileFaults(m_previous); }
    long Before(Call call, const std::string& path, uint64_t, uint32_t, uint32_t*) override
    {
        if (call != m_call || path != m_path)
            return 0;
        int index = m_calls++;
        return index == m_nth || (m_sticky && index > m_nth) ? m_osError : 0;
    }
    int Calls() const { return m_calls; }

private:
    std::string m_path;
    Call m_call;
    int m_nth;
    long m_osError;
    bool m_sticky;
    int m_calls = 0;
    IFileFaults* m_previous;
};

class IoFailure : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        Create();
    }
    int32_t AddText(const std::string& title, const std::string& text, const CKeywordIdSet& keywords = CKeywordIdSet())
    {
        CArticleRecord record;
        record.SetRichTextVersion();
        record.SetTitle(title);
        record.SetRtfText(text);
        record.SetKeywordIds(keywords);
        record.SetDate(20240101);
        return m_doc->AddArticle(record, false, false);
    }
    std::string TitleOf(int32_t id)
    {
        CArticleRecord record;
        m_doc->LoadArticle(id, record);
        return record.GetTitle();
    }
};

}  // namespace

TEST_F(IoFailure, EveryFailingCallIsTheMappedErrorWithThePath)
{
    int32_t kept = AddText("kept", "{\\rtf1 kept}");
    m_doc->Flush();
    struct Case {
        IFileFaults::Call call;
        long osError;
        int code;
    } cases[] = {
        {IFileFaults::kWrite, 112, 12},   // disk full (ENOSPC)
        {IFileFaults::kWrite, 30, 106},   // read fault (EIO)
        {IFileFaults::kWrite, 29, 106},   // write fault
        {IFileFaults::kFlush, 30, 106},   // a failing fsync
        {IFileFaults::kFlush, 112, 12},
        {IFileFaults::kWrite, 21, 106},   // device not ready: the framework's hard I/O
        {IFileFaults::kWrite, 65, 108},   // network
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.call) + " " + std::to_string(c.osError));
        CFailingCall failing(m_path, c.call, 0, c.osError);
        std::string text;
        int code = ErrorOf([&] { AddText("lost", std::string(3000, 'x')); }, &text);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(text, m_path);
        EXPECT_GT(failing.Calls(), 0);
    }
    // Reads: a failing disk is 106, not "corrupted".
    for (int nth = 0; nth < 3; ++nth) {
        CDataFile& file = m_doc->GetDataFile();
        file.Close();
        file.Open(m_path, false);
        CFailingCall failing(m_path, IFileFaults::kRead, nth, 30);
        std::string text;
        EXPECT_EQ(ErrorOf([&] { TitleOf(kept); }, &text), 106) << nth;
        EXPECT_EQ(text, m_path);
    }
    EXPECT_EQ(TitleOf(kept), "kept");
}

TEST_F(IoFailure, DeletingAKeywordStopsAtAFailingGroupWrite)
{
    int32_t k = m_doc->AddKeyword("pears", false);
    int32_t a = AddText("a", "{\\rtf1 a}", Keywords({k}));
    int32_t g = AddGroup("fruit", Keywords({k}));
    m_doc->Flush();
    // Every write fails from the article's rewrite on: nothing may be reported as done.
    CFailingCall failing(m_path, IFileFaults::kWrite, 0, 30, true);
    EXPECT_EQ(ErrorOf([&] { m_doc->DeleteKeywords(Keywords({k})); }), 106);
    (void)a;
    (void)g;
}

TEST_F(IoFailure, ATruncatedFileSaysSoWithItsPath)
{
    AddText("long", std::string(5000, 'y'));
    Close();
    std::string bytes = ReadBytes(m_path);
    m_folder.Write("kb.xrd", bytes.substr(0, bytes.size() - 2048));
    CDataFile file;
    file.Open(m_path, false);
    std::string text;
    EXPECT_EQ(ErrorOf([&] {
                  CArticleRecord record;
                  record.Read(file, 0);
              }, &text),
              10);
    EXPECT_EQ(text, m_path);
}

TEST_F(IoFailure, AnInflateBombIsRefusedAtOnce)
{
    CDataFile& file = m_doc->GetDataFile();
    // A packed field that claims a gigabyte, and one whose stream inflates far past its claim.
    std::vector<uint8_t> zeros(4 << 20, 0);
    uLongf bound = compressBound(static_cast<uLong>(zeros.size()));
    std::vector<uint8_t> packed(bound);
    ASSERT_EQ(compress(packed.data(), &bound, zeros.data(), static_cast<uLong>(zeros.size())), Z_OK);
    packed.resize((bound + 3) / 4 * 4);
    for (int32_t claimed : {1 << 30, 1000}) {
        int32_t first = file.AllocateBlock();
        {
            CRecordStream out;
            out.Open(&file, first, CRecordStream::kNew);
            out.WriteShort(1);  // compressed, not masked
            out.WriteInt(claimed);
            out.WriteInt(static_cast<int32_t>(bound));
            for (size_t at = 0; at < packed.size(); at += 4)
                out.WriteInt(static_cast<int32_t>(LoadLe32(&packed[at])));
            out.Close();
        }
        auto start = std::chrono::steady_clock::now();
        CRecordStream in;
        in.Open(&file, first, CRecordStream::kRead);
        EXPECT_EQ(ErrorOf([&] { in.ReadPacked(); }), 5) << claimed;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    }
}

TEST_F(IoFailure, ADamagedTableIsOneMessageNotOnePerRecord)
{
    for (int i = 0; i < 20; ++i)
        m_doc->AddKeyword("k" + std::to_string(i), false);
    AddText("kept", "{\\rtf1 kept}");
    Close();
    // Every keyword entry now names block 0, an allocation-table block: each record reads as code 5.
    std::string bytes = ReadBytes(m_path);
    int32_t index = Get32(bytes, 28);  // the keyword table's first index block
    for (size_t i = 0; i < 20; ++i)
        Put32(bytes, 220 + 512 * static_cast<size_t>(index) + 4 * i, 0);
    m_folder.Write("kb.xrd", bytes);
    CRecordedErrors::Messages().clear();
    ASSERT_TRUE(Open());
    ASSERT_EQ(CRecordedErrors::Messages().size(), 1u);
    EXPECT_NE(CRecordedErrors::Messages()[0].find("corrupted"), std::string::npos);
    EXPECT_EQ(TitleOf(0), "kept");
}

TEST_F(IoFailure, ProtectAllStoresPlainTextArticlesMaskedInTheNewLayout)
{
    ASSERT_TRUE(m_doc->SetPassword("secret"));
    CArticleRecord plain;
    plain.SetPlainTextVersion();
    plain.SetTitle("Zanzibar title");
    plain.SetText("Quokka body");
    plain.SetDate(20240101);
    int32_t before = m_doc->AddArticle(plain, false, false);  // old layout: protect-all is off
    m_doc->SetProtectAll(true);
    m_doc->RewriteAfterProtectionChange();
    int32_t after = m_doc->AddArticle(plain, false, false);
    m_doc->OnFileSave();
    std::string bytes = ReadBytes(m_path);
    EXPECT_EQ(bytes.find("Zanzibar"), std::string::npos);
    EXPECT_EQ(bytes.find("Quokka"), std::string::npos);
    for (int32_t id : {before, after}) {
        CArticleRecord back;
        m_doc->LoadArticle(id, back);
        EXPECT_EQ(back.GetVersion(), 4);
        EXPECT_EQ(back.GetTitle(), "Zanzibar title");
        EXPECT_EQ(back.GetText(), "Quokka body");
    }
}

TEST_F(IoFailure, APlainTextArticleKeepsItsAttachmentAndTime)
{
    CArticleRecord plain;
    plain.SetPlainTextVersion();
    plain.SetTitle("with extras");
    plain.SetText("body");
    plain.SetDate(20240101);
    plain.SetTime(3661);
    CLinkTarget target;
    target.Set(CLinkTarget::kInternet, "https://example.org/");
    plain.AddAttachment(target);
    int32_t id = m_doc->AddArticle(plain, false, false);
    Reopen();
    CArticleRecord back;
    m_doc->LoadArticle(id, back);
    EXPECT_EQ(back.GetVersion(), 4);
    EXPECT_EQ(back.GetText(), "body");
    EXPECT_EQ(back.GetTimeOf(0), 3661);
    ASSERT_EQ(back.GetAttachmentCount(), 1);
}
