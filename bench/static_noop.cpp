// The floor of a capture: a statically linked program that does nothing,
// run the way the capture tool is run.
int main() { return 0; }
