#include "app/Program.h"
#include "common/Edition.h"

int main(int argc, char** argv) {
    return calidus::runProgram(calidus::Edition::standard(), argc, argv);
}
