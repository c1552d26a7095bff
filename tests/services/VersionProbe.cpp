// A program that is never run: it only carries the version resource 10.20.30.40.
int main() { return 0; }
