// The process entry; the start-up chain lives in the calculator library so tests can run it.
#include "app/StartUp.h"

int main() { return mobrigan::main(); }
