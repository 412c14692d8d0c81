// A program that does nothing: it only carries version information for the tests.
int main() { return 0; }
