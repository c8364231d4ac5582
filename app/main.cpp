// Wrendesk and Wrenpad: the edition is chosen when the program is built.
#include "app/CNotesApp.h"

int main(int argc, char** argv) {
    return CNotesApp::Main(argc, argv);
}
