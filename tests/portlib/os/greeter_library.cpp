// A device library as the loader meets one: C names, found by the dynamic
// loader's search or by a configured path.
extern "C" __attribute__((visibility("default"))) int GreetTwice(int x) {
    return 2 * x;
}
