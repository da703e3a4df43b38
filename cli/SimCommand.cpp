#include "cli/SimCommand.h"

#include <cstdio>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/CodeOverrides.h"
#include "cli/CommandLine.h"
#include "cli/LoadNotes.h"
#include "cli/Program.h"

namespace mtd::cli {

namespace {

int refuse(const std::string& message) {
  warn(message);
  return EXIT_REFUSED;
}

bool isDirectory(const std::filesystem::path& directory, std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(directory, code)) return true;
  const bool exists = std::filesystem::exists(directory, code);
  error = "-C " + directory.string() + (exists ? ": not a directory" : ": no such directory");
  return false;
}

std::string configurationSource(const LoadResult& load, const std::filesystem::path& directory) {
  const std::string file = (directory / CONFIG_FILE_NAME).string();
  if (load.accepted) return file;
  if (load.fileFound) return "built-in defaults (" + file + " is not marked with \"check\")";
  return "built-in defaults (no " + file + ")";
}

// A sweep that silently ran the defaults instead of the file's code would publish the wrong
// curve: a file that is there but unreadable or unmarked stops it, unless the defaults are
// asked for.
bool loadSweepCode(const std::filesystem::path& directory, const SweepOptions& options,
                   LoadedCode& code, std::string& error) {
  const bool defaultsAllowed = options.defaultsAllowed;
  if (!isDirectory(directory, error)) return false;
  const ConfigurationSnapshot configuration(directory);
  auto sim = std::make_unique<Simulation>();
  const LoadResult load = configuration.loadInto(*sim);
  const std::string file = (directory / CONFIG_FILE_NAME).string();
  if (!load.rejection.empty()) {
    error = load.rejection + "\n" + programName() + ": not run: correct " + file;
    return false;
  }
  if (load.fileFound && !load.accepted && !defaultsAllowed) {
    error = file + ": " +
            (load.unreadable.empty() ? "no closing \"check\" line" : load.unreadable) +
            "; not run (--defaults runs the built-in code instead)";
    return false;
  }
  code = LoadedCode{directory, sim->params, configurationSource(load, directory)};
  if (options.overrides.empty()) return true;
  // The given values replace the lines of the file in use, or of the defaults, and are read
  // and checked as the file's own.
  const std::string base =
      load.accepted ? configuration.file().bytes : configurationText(sim->params);
  auto changed = std::make_unique<Simulation>();
  const LoadResult overridden =
      loadConfigurationText(*changed, overriddenText(base, options.overrides));
  std::string given;
  for (const CodeOverride& o : options.overrides) given += " --set " + o.text();
  if (!overridden.accepted) {
    std::string why = overridden.rejection.empty() ? std::string("not a valid init.txt line")
                                                   : overridden.rejection;
    // The loader speaks for the window program, which would go on with the defaults.
    const std::string fallback = "; defaults used";
    if (why.ends_with(fallback)) why.erase(why.size() - fallback.size());
    error = "--set:" + given.substr(6) + ": " + why;
    return false;
  }
  code.params = changed->params;
  code.source += " with" + given;
  return true;
}

int sweepMode(const CommandLine& commandLine, const std::string& typed, const ProgramModes& modes) {
  std::vector<LoadedCode> codes;
  for (const std::filesystem::path& directory : commandLine.directories) {
    LoadedCode code;
    std::string error;
    if (!loadSweepCode(directory, commandLine.sweep, code, error)) {
      return refuse(error);
    }
    codes.push_back(std::move(code));
  }
  SweepOptions options = commandLine.sweep;
  options.commandLine = typed;
  return modes.sweep(codes, options);
}

int runMode(const CommandLine& commandLine, const ProgramModes& modes) {
  if (!modes.transcript || !modes.trialTrace) {
    return refuse(std::string("runs sweeps only: ") + programName() + " sweep ...");
  }
  const std::filesystem::path& directory = commandLine.directories.front();
  std::string error;
  if (!isDirectory(directory, error)) return refuse(error);
  // The window program loads init.txt when its window first shows and again when Run starts;
  // the load here stands for the first and decides whether to run at all.
  const ConfigurationSnapshot configuration(directory);
  auto sim = std::make_unique<Simulation>();
  const LoadResult load = configuration.loadInto(*sim);
  if (!load.rejection.empty()) {
    std::fprintf(stderr, "%s\n", load.rejection.c_str());
    // The window program would go on with the defaults; a batch run stops so that nobody takes
    // the defaults' transcript for the file's.
    return refuse("not run (the window program would take the defaults): correct or remove " +
                  (directory / CONFIG_FILE_NAME).string());
  }
  writeLoadNotes(load, stderr);
  if (commandLine.mode == Mode::TrialTrace) {
    return modes.trialTrace(*sim, configuration, commandLine.trial);
  }
  return modes.transcript(*sim, configuration);
}

}  // namespace

int runSimCommand(int argc, char** argv, const ProgramModes& modes) {
  nameProgram(modes.name);
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const ParsedCommandLine parsed = parseCommandLine(arguments, modes.name);
  if (!parsed.commandLine) {
    return refuse(parsed.error + " (" + programName() + (parsed.inSweep ? " sweep" : "") +
                  " --help lists the options)");
  }
  const CommandLine& commandLine = *parsed.commandLine;
  if (commandLine.mode == Mode::Help || commandLine.mode == Mode::Version) {
    std::fputs(commandLine.text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      warn("cannot write the output");
      return EXIT_WRITE_FAILED;
    }
    return 0;
  }
  if (commandLine.mode == Mode::Sweep) {
    const std::vector<std::string> typed(argv, argv + argc);
    return sweepMode(commandLine, shellCommandLine(typed), modes);
  }
  return runMode(commandLine, modes);
}

}  // namespace mtd::cli
