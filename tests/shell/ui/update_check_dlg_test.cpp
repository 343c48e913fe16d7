// The Check for Update dialog on real windows, fetching over WinINet from a small server in the test
// (loopback): a list, a 404, a server that never answers, one that sends a byte a second, and a
// closed port. The dialog runs on a CGuiThread; links go to a recording shell.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "resources/update_check_res.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/link_finder.h"
#include "shell/memory_profile_store.h"
#include "shell/ui/update_check_dlg.h"
#include "shell/ui/update_list_fetch_win.h"
#include "storage/link_shell.h"
#include "tests/support/gui_driver.h"

namespace {

constexpr const char kCaption[] = "Check for Personal Quorvane Update";
// The program's version in these tests: 4.0.0.1 (Alpha).
constexpr uint32_t kOwnHigh = 4u << 16;
constexpr uint32_t kOwnLow = 1;
constexpr int32_t kToday = 20261211;
constexpr int32_t kEarlier = 20200101;

// An HTTP server on 127.0.0.1 that answers every request the same way, one connection at a time.
class CListServer {
public:
    enum Mode { kServeList, kNotFound, kSilent, kByteASecond };

    CListServer(Mode mode, std::string body = "") : m_mode(mode), m_body(std::move(body))
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int size = sizeof address;
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        listen(m_listener, 4);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CListServer()
    {
        m_stop = true;
        closesocket(m_listener);
        m_thread.join();
        WSACleanup();
    }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/update.txt"; }
    int Requests() const { return m_requests; }

    // A loopback address nothing listens on.
    static std::string ClosedAddress()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int size = sizeof address;
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
        closesocket(s);
        WSACleanup();
        return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/update.txt";
    }

private:
    // True when `s` became readable within `ms`.
    static bool Readable(SOCKET s, int ms)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait = {ms / 1000, (ms % 1000) * 1000};
        return select(0, &set, nullptr, nullptr, &wait) == 1;
    }
    void Serve()
    {
        while (!m_stop) {
            if (!Readable(m_listener, 100))
                continue;
            SOCKET client = accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                continue;
            Answer(client);
            closesocket(client);
        }
    }
    void Answer(SOCKET client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && !m_stop) {
            if (!Readable(client, 100))
                continue;
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            request.append(buffer, static_cast<size_t>(got));
        }
        ++m_requests;
        std::string head;
        switch (m_mode) {
        case kServeList:
            head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(m_body.size()) +
                   "\r\nConnection: close\r\n\r\n";
            SendAll(client, head + m_body);
            break;
        case kNotFound:
            head = "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 24\r\nConnection: close\r\n\r\n";
            SendAll(client, head + "QV\t9.0.0.0\thttp://x.t/\n\n");
            break;
        case kSilent:
            // Holds the connection without a byte until the client goes or the test ends.
            while (!m_stop) {
                if (Readable(client, 100) && recv(client, buffer, sizeof buffer, 0) <= 0)
                    break;
            }
            break;
        case kByteASecond:
            head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n";
            if (!SendAll(client, head))
                break;
            for (int i = 0; i < 1000 && !m_stop; ++i) {
                for (int tenth = 0; tenth < 10 && !m_stop; ++tenth)
                    Sleep(100);
                if (!SendAll(client, "Q"))
                    break;
            }
            break;
        }
        shutdown(client, SD_SEND);
    }
    static bool SendAll(SOCKET s, const std::string& bytes)
    {
        size_t sent = 0;
        while (sent < bytes.size()) {
            const int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    Mode m_mode;
    std::string m_body;
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

class CRecordingShell : public ILinkShell {
public:
    bool PathExists(const std::string&, bool&) override { return false; }
    intptr_t Execute(const char* verb, const std::string& file, const std::string&) override
    {
        m_opened.push_back(std::string(verb ? verb : "") + " " + file);
        return 42;
    }
    std::string FolderProgram() override { return ""; }
    bool CanSearchMissing() override { return false; }
    std::string BaseFolder() override { return ""; }
    int FindMissing(std::string&, int32_t) override { return 0; }
    std::vector<std::string> m_opened;
};

// A dialog that is closed the moment it opened (before its 200 ms timer).
class CClosedAtOnceDlg : public CUpdateCheckDlg {
public:
    using CUpdateCheckDlg::CUpdateCheckDlg;

protected:
    bool OnInitDialog() override
    {
        const bool result = CUpdateCheckDlg::OnInitDialog();
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        return result;
    }
};

class UpdateCheckDlg : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // WinINet takes a proxy from the environment, loopback included.
        SetEnvironmentVariableA("http_proxy", nullptr);
        SetEnvironmentVariableA("HTTP_PROXY", nullptr);
        SetEnvironmentVariableA("https_proxy", nullptr);
        SetEnvironmentVariableA("no_proxy", "127.0.0.1,localhost");
    }
    void SetUp() override
    {
        m_previousShell = SetLinkShell(&m_shell);
        m_settings.SetUpdateCheckLastDate(kEarlier);
    }
    void TearDown() override { SetLinkShell(m_previousShell); }

    CUpdateCheck MakeCheck(const std::string& address)
    {
        CUpdateCheck check(address);
        check.SetOwnVersion(kOwnHigh, kOwnLow);
        return check;
    }

    // Runs the dialog over `check` on its own thread until the test closes it.
    std::unique_ptr<gui::CGuiThread> Open(CUpdateCheck& check, bool closeAtOnce = false)
    {
        m_returned = false;
        return std::make_unique<gui::CGuiThread>([this, &check, closeAtOnce] {
            std::unique_ptr<CUpdateCheckDlg> dialog;
            auto fetcher = std::make_shared<CWinInetListFetcher>();
            if (closeAtOnce)
                dialog = std::make_unique<CClosedAtOnceDlg>(check, m_settings, fetcher);
            else
                dialog = std::make_unique<CUpdateCheckDlg>(check, m_settings, fetcher);
            dialog->m_today = [] { return kToday; };
            dialog->m_openAddress = [](const std::string& address) { CLinkFinder::OpenLink(address); };
            const DWORD start = GetTickCount();
            dialog->DoModal();
            m_closeMs = GetTickCount() - start;
            m_returned = true;
        });
    }
    HWND Dialog() { return gui::WaitForTopWindow(kCaption); }
    std::string Text(HWND dialog, int id) { return gui::GetText(GetDlgItem(dialog, id)); }
    // The status line's colour as the dialog paints it.
    COLORREF StatusColor(HWND dialog)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_STATIC_UPDATE_STATUS)));
        const COLORREF color = GetTextColor(dc);
        DeleteDC(dc);
        return color;
    }
    bool WaitForStatus(HWND dialog, const std::string& text, DWORD timeoutMs = gui::kTimeoutMs)
    {
        return gui::WaitFor([&] { return Text(dialog, IDC_STATIC_UPDATE_STATUS) == text; }, timeoutMs);
    }
    HWND FocusOf(HWND dialog)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus;
    }
    // Closes the dialog and waits for its thread.
    void Close(HWND dialog, std::unique_ptr<gui::CGuiThread>& thread)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(thread->Join());
        thread.reset();
    }

    CMemoryProfileStore m_store;
    CFontSettings m_fonts;
    CDirectories m_dirs;
    CAppSettings m_settings{m_store, m_fonts, m_dirs};
    CRecordingShell m_shell;
    ILinkShell* m_previousShell = nullptr;
    std::atomic<bool> m_returned{false};
    std::atomic<DWORD> m_closeMs{0};
};

TEST_F(UpdateCheckDlg, TheRunningVersionIsTheNewest)
{
    CListServer server(CListServer::kServeList, "qv\t4.0.0.1\thttp://x.test/old\n");
    CUpdateCheck check = MakeCheck(server.Address());
    auto thread = Open(check);
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog, IDC_STATIC_INSTALLED_VERSION), "4.0.0.1 (Alpha)");
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitForStatus(dialog, "You are running the most recent version."));
    EXPECT_EQ(Text(dialog, IDC_STATIC_RELEASED_VERSION), "4.0.0.1 (Alpha)");
    EXPECT_EQ(StatusColor(dialog), 0x008000u);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_BUTTON_UPDATE_INFO)));
    Close(dialog, thread);
    EXPECT_EQ(m_settings.GetUpdateCheckLastDate(), kToday);
    EXPECT_EQ(m_store.GetInt("Quorvane", "UpdateCheckLastDate", 0), kToday);
    EXPECT_EQ(server.Requests(), 1);
}

TEST_F(UpdateCheckDlg, ANewerVersionOffersItsPageAndASecondCheckAsksNoMore)
{
    CListServer server(CListServer::kServeList, "AB\t9.9.9.9\thttp://other.test/\r\nQV\t5.18.3.0\thttps://x.test/n\r\n");
    CUpdateCheck check = MakeCheck(server.Address());
    for (int run = 0; run < 2; ++run) {
        auto thread = Open(check);
        HWND dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitForStatus(dialog, "A more recent version is available.")) << run;
        EXPECT_EQ(Text(dialog, IDC_STATIC_RELEASED_VERSION), "5.1.8");
        EXPECT_EQ(StatusColor(dialog), 0x000080u);
        HWND info = GetDlgItem(dialog, IDC_BUTTON_UPDATE_INFO);
        ASSERT_TRUE(IsWindowVisible(info));
        EXPECT_EQ(gui::GetText(info), "Get update info...");
        ASSERT_TRUE(gui::ClickButton(info));
        Close(dialog, thread);
        EXPECT_EQ(m_settings.GetUpdateCheckLastDate(), kToday);
    }
    EXPECT_EQ(m_shell.m_opened, (std::vector<std::string>{"open https://x.test/n", "open https://x.test/n"}));
    EXPECT_EQ(server.Requests(), 1);
}

TEST_F(UpdateCheckDlg, NoAnswerKeepsTheDate)
{
    struct Case {
        CListServer::Mode mode;
        const char* list;
        bool closedPort;
    } cases[] = {
        {CListServer::kServeList, "QV 5.18.3.0 https://x.test/n\n", false},
        {CListServer::kServeList, "AB\t5.18.3.0\thttps://x.test/n\n", false},
        {CListServer::kServeList, "QV\t5.18\thttps://x.test/n\n", false},
        {CListServer::kNotFound, "", false},
        {CListServer::kServeList, "", true},
    };
    for (const Case& c : cases) {
        CListServer server(c.mode, c.list);
        CUpdateCheck check = MakeCheck(c.closedPort ? CListServer::ClosedAddress() : server.Address());
        auto thread = Open(check);
        HWND dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitForStatus(dialog, "Please try again later.")) << c.list;
        EXPECT_EQ(Text(dialog, IDC_STATIC_RELEASED_VERSION), "Unable to get update information.");
        EXPECT_EQ(StatusColor(dialog), 0x000080u);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_BUTTON_UPDATE_INFO)));
        Close(dialog, thread);
        EXPECT_EQ(m_settings.GetUpdateCheckLastDate(), kEarlier) << c.list;
        EXPECT_EQ(server.Requests(), c.closedPort ? 0 : 1) << c.list;
    }
}

TEST_F(UpdateCheckDlg, FrequencyChoiceShowsTheSettingAndStoresTheChoice)
{
    CListServer server(CListServer::kNotFound);
    struct Case {
        int days;
        const char* shown;
    } cases[] = {{14, "Every 30 days"}, {0, "Never"}, {-1, "Never"}, {7, "Every 7 days"}, {365, "Every 90 days"}};
    for (const Case& c : cases) {
        m_settings.SetUpdateCheckFreq(c.days);
        CUpdateCheck check = MakeCheck(server.Address());
        auto thread = Open(check);
        HWND dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(gui::GetText(GetDlgItem(dialog, IDC_COMBO_UPDATE_FREQUENCY)), c.shown) << c.days;
        Close(dialog, thread);
    }
    // "Every 90 days", then Close: 90 is written.
    m_settings.SetUpdateCheckFreq(14);
    CUpdateCheck check = MakeCheck(server.Address());
    auto thread = Open(check);
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, IDC_COMBO_UPDATE_FREQUENCY), CB_SETCURSEL, 3, 0);
    Close(dialog, thread);
    EXPECT_EQ(m_settings.GetUpdateCheckFreq(), 90);
    EXPECT_EQ(m_store.GetInt("Quorvane", "UpdateCheckFreq", 0), 90);
}

TEST_F(UpdateCheckDlg, CloseBeforeTheCheckStartsEndsAtOnceWithoutARequest)
{
    CListServer server(CListServer::kServeList, "QV\t5.18.3.0\thttps://x.test/n\n");
    CUpdateCheck check = MakeCheck(server.Address());
    auto thread = Open(check, true);
    ASSERT_TRUE(thread->Join());
    EXPECT_LT(m_closeMs.load(), 1000u);
    gui::WaitFor([] { return false; }, 400);
    EXPECT_EQ(server.Requests(), 0);
    EXPECT_FALSE(check.IsChecked());
}

TEST_F(UpdateCheckDlg, CloseReturnsWithinThreeSecondsFromASilentServer)
{
    CListServer server(CListServer::kSilent);
    CUpdateCheck check = MakeCheck(server.Address());
    auto thread = Open(check);
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(gui::WaitFor([&] { return server.Requests() == 1; }));
    EXPECT_EQ(Text(dialog, IDC_STATIC_RELEASED_VERSION), "Checking...");
    const DWORD start = GetTickCount();
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(thread->Join());
    EXPECT_LT(GetTickCount() - start, 3000u);
    thread.reset();
    EXPECT_EQ(m_settings.GetUpdateCheckLastDate(), kEarlier);
}

TEST_F(UpdateCheckDlg, AByteASecondEndsTheCheckWithinTenSeconds)
{
    CListServer server(CListServer::kByteASecond);
    CUpdateCheck check = MakeCheck(server.Address());
    auto thread = Open(check);
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(WaitForStatus(dialog, "Please try again later.", 20000));
    EXPECT_LT(GetTickCount() - start, 13000u);
    Close(dialog, thread);
}

}  // namespace
