#include "PluginProbe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <vector>

#include "CliError.h"
#include "VstPlugin.h"

namespace cli {
namespace {

// One field on the line the child sends back: no tabs or line breaks.
std::string clean(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

[[noreturn]] void runChild(const std::string& path, int output) {
  // A plug-in's own chatter must not mix into stelloria's output.
  const int devNull = open("/dev/null", O_WRONLY);
  if (devNull >= 0) {
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
  }
  std::string line;
  std::string error;
  {
    auto plugin = host::VstPlugin::load(path, &error);
    if (!plugin) {
      line = "error\t" + clean(error) + "\n";
    } else {
      plugin->open();
      std::ostringstream fields;
      fields << "ok\t" << clean(plugin->effectName()) << '\t' << clean(plugin->vendor()) << '\t'
             << plugin->uniqueID() << '\t' << plugin->numInputs() << '\t'
             << plugin->numOutputs() << '\t' << plugin->numParams() << '\n';
      line = fields.str();
      plugin->close();
    }
  }
  if (write(output, line.data(), line.size()) < 0) _exit(2);
  // _exit: no static destructors of the plug-in run twice in parent and child.
  _exit(0);
}

}  // namespace

ProbeResult probePlugin(const std::string& path, double timeoutSeconds) {
  ProbeResult result;
  int fds[2];
  if (pipe(fds) != 0) {
    result.error = path + ": cannot examine (no pipe)";
    return result;
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    result.error = path + ": cannot examine (fork failed)";
    return result;
  }
  if (child == 0) {
    close(fds[0]);
    runChild(path, fds[1]);
  }
  close(fds[1]);

  std::string received;
  bool timedOut = false;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<long>(timeoutSeconds * 1000));
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd waitFor{fds[0], POLLIN, 0};
    const int ready = poll(&waitFor, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      timedOut = ready == 0;
      break;
    }
    char buffer[1024];
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
  }
  close(fds[0]);
  if (timedOut) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);

  if (timedOut) {
    result.error = path + ": plug-in did not answer within " +
                   std::to_string(static_cast<int>(timeoutSeconds + 0.5)) + " s while examined";
    return result;
  }
  if (WIFSIGNALED(status)) {
    result.error = path + ": plug-in crashed while examined (" + strsignal(WTERMSIG(status)) + ")";
    return result;
  }
  std::vector<std::string> fields;
  std::istringstream line(received.substr(0, received.find('\n')));
  for (std::string field; std::getline(line, field, '\t');) fields.push_back(field);
  if (!fields.empty() && fields[0] == "error" && fields.size() >= 2) {
    result.error = fields[1];
  } else if (fields.size() == 7 && fields[0] == "ok") {
    result.ok = true;
    result.summary.effectName = fields[1];
    result.summary.vendor = fields[2];
    result.summary.uniqueID = static_cast<int32_t>(std::stol(fields[3]));
    result.summary.numInputs = std::stoi(fields[4]);
    result.summary.numOutputs = std::stoi(fields[5]);
    result.summary.numParams = std::stoi(fields[6]);
  } else {
    result.error = path + ": plug-in ended the examining process (exit status " +
                   std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
  }
  return result;
}

PluginSummary requireSafePlugin(const std::string& path) {
  ProbeResult probe = probePlugin(path, 10.0);
  if (!probe.ok) throw CliError(probe.error);
  return probe.summary;
}

}  // namespace cli
