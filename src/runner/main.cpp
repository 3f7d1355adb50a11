#include "runner/batch_runner.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    return CBatchRunner::Main(std::vector<std::string>(argv + 1, argv + argc));
}
