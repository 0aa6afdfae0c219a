#include "bench/frame/process_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "bench/frame/bench_common.h"

ProcessRun RunSelf(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment) {
    ProcessRun run;
    std::string self = SelfPath();
    std::vector<std::string> words = {self};
    words.insert(words.end(), arguments.begin(), arguments.end());
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return run;
    run.startMs = NowMs();
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return run;
    }
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double Field(const std::string& output, const std::string& key) {
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first;
        double value = 0;
        if (words >> first && first == key && words >> value) return value;
    }
    return -1;
}
