// The headless runner (being written).
int main() { return 0; }
