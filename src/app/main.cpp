// The game entry (being written).
int main() { return 0; }
