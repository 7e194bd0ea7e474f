// Compiled by the layer tests with one layer's include root: the header
// named by PROBE_HEADER must be found there or the compile fails.
#include PROBE_HEADER
