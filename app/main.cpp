// KolviPlayer's entry point.
#include "app/RunPlayer.h"

int main(int argc, char** argv) { return RunPlayer(argc, argv); }
