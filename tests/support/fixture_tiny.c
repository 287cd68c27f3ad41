/* The body of the fixture executables: only their version resource matters. */
int entry(void) { return 0; }
