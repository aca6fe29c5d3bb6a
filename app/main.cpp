#include "app/EditorMain.h"

int main(int argc, char** argv) {
    return visemer::runEditor(argc, argv);
}
