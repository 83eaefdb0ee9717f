// Entry of the kolt-32 solver.
int main() { return 50; }
