/* The body of the demo executables: only their version resource matters. */
int entry(void) { return 0; }
