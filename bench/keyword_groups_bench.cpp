// Windows benchmark of the keyword and keyword-group commands on a large file (run under Wine:
//   scripts/wine-run build/win64/bin/keyword_groups_bench.exe [--articles N] [--keywords N] [--groups N]
//   [--lines N] [--titles N] [--rounds N] [--folder DIR]):
// a generated knowledge base (100,000 articles, 10,000 keywords by default) given `groups` keyword
// groups of ten keywords each; every round opens a fresh copy of it into an index window in an MDI
// frame through the Windows host. Timed, each the median of `rounds` runs, with the repaint each
// causes:
// - Import Keyword List of `lines` lines (a fifth naming existing keywords in another case) with the
//   index window shown, as the command runs it (recorded for Undo Import), Undo Import after it, and
//   the same import again into the blocks and table entries the undo freed;
// - Keyword Group (a new group) shown and painted with every keyword available, then Select All,
//   Clear, and ">>" of half the keywords highlighted;
// - Manage Keyword Groups shown and painted over every group;
// - Ctrl+K over `titles` highlighted titles that share the most used keyword, which the change
//   takes off and replaces by a rare one, through the view's command with the Shared Keywords dialog
//   answered; with the data file's write and flush calls.
// Each is shown as elapsed time and as this thread's processor time (what a loaded machine does not
// stretch).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/bench_index_window.h"
#include "bench/file_call_counter.h"
#include "bench/kb_plan.h"
#include "bench/win_bench_timing.h"
#include "document/keyword_list_file.h"
#include "document/quorvane_doc.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/group_dlgs_res.h"
#include "resources/commands.h"
#include "storage/keyword_record.h"
#include "tests/document/ui/test_windows_doc_host.h"

namespace {

// Undo Import's question answered Yes.
class CBenchHost : public CTestWindowsDocHost {
public:
    bool Confirm(const std::string&) override { return true; }
};

void Press(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A step inside a shown dialog, with the repaint it causes.
template <class Step>
void TimeInDialog(CStepTable& table, size_t row, const char* name, HWND dialog, Step step)
{
    table.Time(row, name, "< 200", [&] {
        step();
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
}

// Gives the file `groups` keyword groups of ten keywords each.
void AddGroups(const std::string& path, int groups, int keywords)
{
    CTestWindowsDocHost host;
    CQuorvaneDoc document(host);
    if (!document.OnOpenDocument(path)) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(1);
    }
    for (int g = 0; g < groups; ++g) {
        CKeywordGroupRecord record;
        record.SetName("group " + std::to_string(g));
        CKeywordIdSet members;
        for (int k = 0; k < 10; ++k)
            members.Add((g * 10 + k) % keywords);
        record.SetKeywordIds(members);
        document.AddKeywordGroup(record);
    }
    document.DeleteContents();
}

}  // namespace

int main(int argc, char** argv)
{
    const BenchOptions options = ReadBenchOptions(
        argc, argv, 100000, 3, {{"keywords", 10000}, {"groups", 1000}, {"lines", 5000}, {"titles", 1000}});
    const int articles = options.articles;
    const int keywords = options.Number("keywords");
    const int groups = options.Number("groups");
    const int lines = options.Number("lines");
    const int titlesWanted = options.Number("titles");
    if (articles < 10000 || keywords < 100 || groups < 1 || lines < 1 || titlesWanted < 1) {
        std::fprintf(stderr, "usage: keyword_groups_bench [--articles N>=10000] [--keywords N>=100] [--groups N] "
                             "[--lines N] [--titles N] [--rounds N] [--folder DIR]\n");
        return 2;
    }
    Plan plan = MakePlan(articles, keywords, Body::kTiny, 1);
    const std::string pristine = options.folder + "\\keyword_groups_bench_generated.xrd";
    const std::string path = options.folder + "\\keyword_groups_bench.xrd";
    const std::string listPath = options.folder + "\\keyword_groups_bench.txt";
    double start = NowMs();
    GenerateDataFile(pristine, plan);
    AddGroups(pristine, groups, keywords);
    std::printf("%d articles, %d keywords, %d groups: generated in %.0f ms\n", articles, keywords, groups,
                NowMs() - start);

    // Ctrl+K's dialog answered: the most used keyword (0) off, a rare one on.
    const int32_t rare = keywords - 1;
    CIndexViewServices services;
    services.editSharedKeywords = [&](CQuorvaneDoc&, HWND, const CKeywordIdSet& shared, CKeywordIdSet& result) {
        result.Copy(shared);
        result.Remove(0);
        result.Add(rare);
        return true;
    };
    CBenchHost host;
    CStepTable table;
    {
        CBenchIndexWindow window(host, "Keyword groups benchmark", services);
        window.Settings().SetInitList(2);
        for (int round = 0; round < options.rounds; ++round) {
            // Every round works on a fresh copy of the generated file.
            if (!CopyFileA(pristine.c_str(), path.c_str(), FALSE)) {
                std::fprintf(stderr, "cannot copy %s\n", pristine.c_str());
                return 1;
            }
            window.Open(path);
            Pump();
            CIndexView& view = window.View();
            CQuorvaneDoc& document = window.Document();
            HWND main = window.Main().m_hWnd;
            auto paint = [&view] { RedrawWindow(view.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); };

            // Import Keyword List as the command runs it, Undo Import, and the import again into the
            // blocks and table entries the undo freed, with the index window shown.
            WriteKeywordList(listPath, lines, keywords);
            auto import = [&](size_t row, const char* name, const char* aim) {
                CKeywordIdSet made;
                CFileCallCounter counter(path);
                table.Time(row, name, aim, [&] {
                    document.SetImportRecording(true);
                    CKeywordListFile(document).Import(listPath, made);
                    document.SetImportRecording(false);
                    paint();
                });
                std::printf("round %d, %s: %d keywords made, %ld write calls, %ld flushes\n", round + 1, name,
                            made.GetSize(), counter.writes, counter.flushes);
            };
            import(0, "Import Keyword List, index window shown", "< 1000");
            table.Time(1, "Undo Import of what it made", "", [&] {
                document.UndoImport();
                paint();
            });
            import(2, "  the same import into the space the undo freed", "");
            Pump();

            // Keyword Group for a new group, every keyword available.
            {
                CKeywordGroupDlg dialog(document, main);
                TimeDialogShown("Keyword Group", [&] { dialog.DoModal(); }, [&](HWND shown, double ms, double cpu) {
                    table.Add(3, "Keyword Group shown (all keywords available)", "< 300", ms, cpu);
                    TimeInDialog(table, 4, "Keyword Group: Select All", shown,
                                 [&] { Press(shown, IDC_GROUPS_SELECT_ALL); });
                    TimeInDialog(table, 5, "Keyword Group: Clear", shown, [&] { Press(shown, IDC_GROUPS_CLEAR); });
                    CKeywordListBox& available = dialog.Available();
                    available.SendMessage(LB_SELITEMRANGEEX, 0, static_cast<LPARAM>(available.GetCount() / 2 - 1));
                    TimeInDialog(table, 6, "Keyword Group: \">>\" of half the keywords", shown,
                                 [&] { Press(shown, IDC_GROUPS_INCLUDE); });
                });
            }
            // Manage Keyword Groups over every group.
            {
                CManageKeywordGroupsDlg dialog(document, main);
                TimeDialogShown("Manage Keyword Groups", [&] { dialog.DoModal(); },
                                [&](HWND, double ms, double cpu) {
                                    table.Add(7, "Manage Keyword Groups shown (every group)", "< 300", ms, cpu);
                                });
            }

            // Ctrl+K over the first `titles` titles of the most used keyword.
            CIndexIndexList& index = view.IndexList();
            index.SendMessage(LB_SETSEL, FALSE, -1);
            index.SelectId(0);
            view.SendMessage(WM_COMMAND, CIndexView::kMoveToSelectedCommand, 0);
            Pump();
            CIndexTitleList& titles = view.TitleList();
            const int highlighted = std::min(titlesWanted, titles.GetItemCount());
            titles.SendMessage(LB_SETSEL, FALSE, -1);
            titles.SendMessage(LB_SELITEMRANGEEX, 0, static_cast<LPARAM>(highlighted - 1));
            view.SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kTitleList, LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(titles.m_hWnd));
            Pump();
            {
                CFileCallCounter counter(path);
                table.Time(8, "Ctrl+K over the highlighted titles", "", [&] {
                    view.SendMessage(WM_COMMAND, IDM_KEYWORD_CHANGE, 0);
                    paint();
                });
                std::printf("round %d, Ctrl+K over %d of the %d titles of the most used keyword: %ld write calls, "
                            "%ld flushes\n",
                            round + 1, highlighted, titles.GetItemCount(), counter.writes, counter.flushes);
            }
            window.Close();
        }
    }
    table.Print(52);
    DeleteFileA(pristine.c_str());
    DeleteFileA(path.c_str());
    DeleteFileA(listPath.c_str());
    std::fflush(stdout);
    return 0;
}
