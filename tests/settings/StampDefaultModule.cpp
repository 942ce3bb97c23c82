// A module with nothing in it but the version stamp of the project.
extern "C" __attribute__((visibility("default"))) int StampDefaultProbe() { return 1; }
