/* The empty program: linked as the token program is, it measures what an app has without the
   library (C library, start-up code), which make size subtracts. */
int main(void) { return 0; }
