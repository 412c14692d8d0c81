#include <gtest/gtest.h>

#include "platform/url.h"

namespace qm {

TEST(UrlPolicy, HttpsAnywherePlainHttpOnlyToThisMachine) {
  struct Case { const wchar_t* url; bool permitted; };
  const Case cases[] = {
      {L"https://quillmere.org/download/Quillmere/version.txt", true},
      {L"HTTPS://Quillmere.ORG:8443/x?y=1#frag", true},
      {L"http://quillmere.org/download/", false},
      {L"http://127.0.0.1:8080/download/", true},
      {L"http://127.255.255.254/", true},
      {L"http://localhost/", true},
      {L"http://LocalHost:1/", true},
      {L"http://[::1]:8080/x", true},
      // Look-alikes of loopback addresses.
      {L"http://127.0.0.1.example.com/", false},
      {L"http://localhost.example.com/", false},
      {L"http://0127.0.0.1/", false},  // octal 0127 would be 87
      {L"http://127.1/", false},
      {L"http://127.0.0.256/", false},
      {L"http://128.0.0.1/", false},
      {L"http://[::2]/", false},
      {L"http://user@127.0.0.1/", false},
      {L"https://quillmere.org@evil.example/", false},
      {L"http://127.0.0.1\\@evil.example/", false},
      {L"http://127.0.0.1 /", false},
      // Malformed or other schemes.
      {L"", false},
      {L"https://", false},
      {L"https://:443/", false},
      {L"https://host:0/", false},
      {L"https://host:65536/", false},
      {L"https://host:/", false},
      {L"https://[::1/", false},
      {L"ftp://127.0.0.1/", false},
      {L"file:///C:/Windows/x.exe", false},
      {L"quillmere.org/download/", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPermittedUrl(c.url), c.permitted) << c.url;
}

TEST(UrlPolicy, ParsesHostPortAndPath) {
  auto url = ParseUrl(L"HTTPS://Mirror.Example:8443/download/Quillmere/a b?x=1#top");
  EXPECT_FALSE(url);  // a blank must be percent-encoded
  url = ParseUrl(L"HTTPS://Mirror.Example:8443/download/Quillmere/v.txt?x=1#top");
  ASSERT_TRUE(url);
  EXPECT_TRUE(url->secure);
  EXPECT_EQ(url->host, L"mirror.example");
  EXPECT_EQ(url->port, 8443);
  EXPECT_EQ(url->pathAndQuery, L"/download/Quillmere/v.txt?x=1");
  url = ParseUrl(L"http://[::1]?q");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->host, L"::1");
  EXPECT_EQ(url->port, 80);
  EXPECT_EQ(url->pathAndQuery, L"/?q");
}

TEST(UrlPolicy, RedirectsResolveAndNeverStepDownFromHttps) {
  const std::wstring from = L"https://a.example/download/Quillmere/version.txt?x";
  struct Resolve { const wchar_t* location; const wchar_t* to; };
  for (auto c : {Resolve{L"https://b.example/v.txt", L"https://b.example/v.txt"},
                 Resolve{L"//b.example/v.txt", L"https://b.example/v.txt"},
                 Resolve{L"/other/v.txt", L"https://a.example/other/v.txt"},
                 Resolve{L"v2.txt", L"https://a.example/download/Quillmere/v2.txt"},
                 Resolve{L"?y", L"https://a.example/download/Quillmere/version.txt?y"}})
    EXPECT_EQ(ResolveLocation(from, c.location), std::optional<std::wstring>(c.to)) << c.location;
  EXPECT_FALSE(ResolveLocation(from, L""));

  struct Step { const wchar_t* from; const wchar_t* to; bool permitted; };
  const Step steps[] = {
      {L"https://a.example/x", L"https://b.example/y", true},
      {L"https://a.example/x", L"http://b.example/y", false},
      {L"https://a.example/x", L"http://127.0.0.1/y", false},
      {L"http://127.0.0.1/x", L"http://localhost:9/y", true},
      {L"http://127.0.0.1/x", L"https://b.example/y", true},
      {L"http://127.0.0.1/x", L"http://b.example/y", false},
      {L"http://127.0.0.1/x", L"ftp://127.0.0.1/y", false},
  };
  for (const auto& s : steps) EXPECT_EQ(IsPermittedRedirect(s.from, s.to), s.permitted) << s.from << L" -> " << s.to;
}

}  // namespace qm
