#include <gtest/gtest.h>

#include "update/update_check.h"
#include "text/ini_file.h"
#include "update/update_servers.h"
#include "update/update_settings.h"
#include "update/versions.h"
#include "update_fakes.h"

namespace qm {

using testing::FakeHttpClient;

TEST(CompareVersions, ComparesPartByPartAsNumbers) {
  struct Case { const wchar_t* a; const wchar_t* b; int result; };
  const Case cases[] = {
      {L"2.0", L"1.9.9.9", 1},
      {L"1.2.3", L"1.2.3.0", 0},
      {L"1.2.3.4", L"1.2.10.0", -1},
      {L"1.2.10", L"1.2.9.0", 1},
      {L"1.0.0.1\r\n", L"1.0.0.1", 0},
      {L"1.0.0.0.1", L"1.0", 1},
      {L"10", L"9", 1},
      {L"007.1", L"7.1", 0},
      {L"1.x", L"1.0", 0},        // a part that is not a number counts as 0
      {L"1.-2", L"1", 0},
      {L"1..2", L"1.0.2", 0},
      {L"1 2", L"1.2", 0},         // blanks end a part
      {L"", L"0.0", 0},
      {L"", L"0.1", -1},
      {L"<html>", L"1.0.0.0", -1},
      {L"1.99999999999999999999999", L"1.99999999999999999999998", 1},  // beyond 64 bits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareVersions(c.a, c.b), c.result) << c.a << L" vs " << c.b;
    EXPECT_EQ(CompareVersions(c.b, c.a), -c.result) << c.b << L" vs " << c.a;
  }
}

TEST(UpdateServers, OverrideReplacesTheBuiltInHttpsAddresses) {
  auto builtIn = DefaultUpdateServers();
  ASSERT_EQ(builtIn.size(), 2u);
  for (const auto& base : builtIn) EXPECT_TRUE(base.starts_with(L"https://") && base.ends_with(L"/download/")) << base;
  EXPECT_EQ(UpdateServersFrom(""), builtIn);
  EXPECT_EQ(UpdateServersFrom(" ; "), builtIn);
  EXPECT_EQ(UpdateServersFrom(" http://127.0.0.1:81/a ;https://m.example/b/"),
            (std::vector<std::wstring>{L"http://127.0.0.1:81/a/", L"https://m.example/b/"}));
}

class FetchServerVersionTest : public ::testing::Test {
 protected:
  FakeHttpClient http;
  UpdateConnection connection{{L"http://127.0.0.1:1/download/", L"http://127.0.0.1:2/download/"}, {}, false};
  const std::wstring first = L"http://127.0.0.1:1/download/Quillmere/";
  const std::wstring second = L"http://127.0.0.1:2/download/Quillmere/";
};

TEST_F(FetchServerVersionTest, FirstFailingSecondAnsweringUsesTheSecond) {
  http.Answer(second + L"version.txt", 200, "\xEF\xBB\xBF 1.2.3.4\r\n");
  auto answer = FetchServerVersion(http, connection);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->version, L"1.2.3.4");
  EXPECT_EQ(answer->downloadUrl, second + L"Quillmere-setup.exe");
  EXPECT_EQ(http.RequestedUrls(), (std::vector<std::wstring>{first + L"version.txt", second + L"version.txt"}));
  const auto& request = http.requests.back();
  EXPECT_EQ(request.userAgent, L"Mozilla/5.0 (Windows NT 6.1; WOW64;rv:12.0) Gecko/20100101 Firefox/12.0");
  EXPECT_EQ(request.accept, L"text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
  EXPECT_EQ(request.connectTimeoutMs, 3000);
  EXPECT_EQ(request.readTimeoutMs, 5000);
  EXPECT_TRUE(request.proxyHost.empty());
}

TEST_F(FetchServerVersionTest, ErrorStatusAndEmptyBodyFallThroughAndThePortableCopyGetsTheArchive) {
  connection.portable = true;
  connection.proxy = SystemProxy{L"proxy.lan", 3128, true, true};
  http.Answer(first + L"version.txt", 200, " \r\n");
  http.Answer(second + L"version.txt", 404, "2.0");
  EXPECT_FALSE(FetchServerVersion(http, connection));
  http.Answer(second + L"version.txt", 200, "2.0");
  auto answer = FetchServerVersion(http, connection);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->downloadUrl, second + L"Quillmere.zip");
  EXPECT_EQ(http.requests.back().proxyHost, L"proxy.lan");
  EXPECT_EQ(http.requests.back().proxyPort, 3128);
}

TEST_F(FetchServerVersionTest, NeverAsksPlainHttpServersElsewhereAndRefusesHugeVersionFiles) {
  connection.servers = {L"http://updates.example/download/", L"https://updates.example/download/"};
  http.Answer(L"http://updates.example/download/Quillmere/version.txt", 200, "9.9");
  http.Answer(L"https://updates.example/download/Quillmere/version.txt", 200, std::string(100000, '9'));
  EXPECT_FALSE(FetchServerVersion(http, connection));
  EXPECT_EQ(http.RequestedUrls(), std::vector<std::wstring>{L"https://updates.example/download/Quillmere/version.txt"});
}

TEST(UpdateCheck, ExplicitCheckShowsTheServerVersionOrTheFailure) {
  FakeHttpClient http;
  UpdateConnection connection{{L"https://a.example/download/"}, {}, false};
  const std::wstring versionUrl = L"https://a.example/download/Quillmere/version.txt";
  UpdateTexts texts;
  UpdateState state;

  http.Answer(versionUrl, 200, "2.0");
  CheckView view = ApplyCheck(state, RunCheck(http, connection, L"1.9.9.9"), texts, false);
  EXPECT_EQ(view.stateLine, L"Доступно обновление 1.9.9.9 ---> 2.0");
  EXPECT_EQ(view.serverVersion, L"2.0");
  EXPECT_TRUE(view.downloadEnabled);
  EXPECT_EQ(state.downloadUrl, L"https://a.example/download/Quillmere/Quillmere-setup.exe");
  EXPECT_EQ(state.latestVersion, L"2.0");
  EXPECT_EQ(state.compareResult, 1);

  http.Answer(versionUrl, 200, "1.2.3");
  view = ApplyCheck(state, RunCheck(http, connection, L"1.2.3.0"), texts, false);
  EXPECT_EQ(view.stateLine, L"Нет обновления");
  EXPECT_FALSE(view.downloadEnabled);
  EXPECT_TRUE(ApplyCheck(state, RunCheck(http, connection, L"1.2.3.0"), texts, true).downloadEnabled);

  http.answers.clear();
  view = ApplyCheck(state, RunCheck(http, connection, L"1.2.3.0"), texts, false);
  EXPECT_EQ(view.stateLine, L"Не удалось проверить обновления");
  EXPECT_EQ(view.serverVersion, L"Ошибка соединения");
  EXPECT_FALSE(view.downloadEnabled);
  EXPECT_EQ(state.compareResult, 0);
  EXPECT_TRUE(state.downloadUrl.empty() && state.latestVersion.empty());
}

TEST(UpdateCheck, StartupOfferLeadsToAQuickStartOnTheNextShowing) {
  UpdateTexts texts;
  texts.updateAvailable = L"Update available";  // translated captions are used as they are
  UpdateState state;
  CheckOutcome newer{ServerAnswer{L"2.0", L"https://a.example/download/Quillmere/Quillmere-setup.exe"}, L"1.0", 1};

  EXPECT_FALSE(ApplyStartupCheck(state, CheckOutcome{ServerAnswer{L"1.0", L"u"}, L"1.0", 0}, texts));
  EXPECT_FALSE(ApplyStartupCheck(state, CheckOutcome{}, texts));
  EXPECT_TRUE(state.backgroundUrl.empty());
  EXPECT_EQ(ApplyStartupCheck(state, newer, texts),
            std::optional<std::wstring>(L"Update available 2.0\r\nХотите обновить приложение сейчас?"));
  EXPECT_EQ(TakeShowAction(state), ShowAction::Check);  // answered No: the next showing checks again

  AcceptStartupOffer(state);
  EXPECT_EQ(state.downloadUrl, newer.answer->downloadUrl);
  EXPECT_EQ(TakeShowAction(state), ShowAction::QuickStart);
  EXPECT_EQ(TakeShowAction(state), ShowAction::Check);
  EXPECT_EQ(BeginQuickStart(state, texts, L"1.0"), L"Update available 1.0 ---> 2.0");
  EXPECT_EQ(state.latestVersion, L"2.0");
}

TEST(UpdateSettings, StartupCheckIsOnUnlessTheFileSaysZero) {
  EXPECT_TRUE(ReadAutoCheck(IniFile::Parse(L"")));
  EXPECT_TRUE(ReadAutoCheck(IniFile::Parse(L"[Option]\r\nCheckBoxAutoCheck=yes\r\n")));
  EXPECT_TRUE(ReadAutoCheck(IniFile::Parse(L"[Option]\r\nCheckBoxAutoCheck=2\r\n")));
  EXPECT_FALSE(ReadAutoCheck(IniFile::Parse(L"[option]\r\ncheckboxautocheck=0\r\n")));

  IniFile settings = IniFile::Parse(L"[Option]\r\nThemeAuto=1\r\n[Language]\r\nLanguage=English\r\n");
  WriteAutoCheck(settings, false);
  EXPECT_EQ(settings.Text(), L"[Option]\r\nThemeAuto=1\r\nCheckBoxAutoCheck=0\r\n\r\n[Language]\r\nLanguage=English\r\n\r\n");
  EXPECT_FALSE(ReadAutoCheck(settings));
}

}  // namespace qm
