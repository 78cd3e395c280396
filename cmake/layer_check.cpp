// Linked with one layer whole and only the layers below it: the link fails
// when the layer calls anything above itself.
int main() { return 0; }
