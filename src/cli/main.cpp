// quillmere-cli: the console front end over the core.
#include <cstdio>

#ifdef _WIN32
int wmain(int, wchar_t**) {
#else
int main(int, char**) {
#endif
  std::fputs("usage: quillmere-cli scan|fix [options]\n", stderr);
  return 2;
}
