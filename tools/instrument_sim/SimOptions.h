// Command line of the instrument simulator: the port and the instrument it plays (identity,
// modules, decimal mode, types, labels, readings) and the fault it injects. Parsing is strict:
// an unknown option or a bad value is an error, so a test never runs against a wrong set-up.
#pragma once

#include <string>
#include <vector>

enum class ReadingKind { Constant, Ramp, Noise, Sequence };

enum class FaultKind {
  None,
  NoReply,      // the request is read and dropped
  WrongCrc,     // the reply's CRC is off by one
  WrongEcho,    // the reply echoes another command code (its CRC is right)
  Late,         // the reply is sent after a delay
  Flood,        // more than 1024 bytes of garbage instead of the reply
  ModuleChange, // the module count changes; polls for the old channel count go unanswered
  Short,        // only the first 5 bytes of the reply
  Garbage,      // 7 bytes that are no frame at all
  Raw           // the given bytes instead of the reply
};

struct SimOptions {
  std::string port;                 // "COM1"
  std::string productNumber = "VK2024030501";
  std::string productModel = "VK-8064";
  int modules = 1;                  // 1..8
  int decimals = 1;                 // 1 or 2
  std::string types = "KKKKKKKK";   // one letter per module
  std::vector<std::string> labels;  // per channel; empty ones become "CHn"
  ReadingKind readings = ReadingKind::Constant;
  double base = 25.0;               // constant value, ramp start or noise centre
  double step = 0.0;                // ramp step per poll, or noise amplitude
  double channelStep = 0.0;         // added per channel index
  std::vector<double> sequence;     // Sequence: poll k reads sequence[k mod size]
  unsigned seed = 1;                // noise generator seed
  FaultKind fault = FaultKind::None;
  int faultCommand = -1;            // command code the fault applies to; -1 any
  int faultAfter = 0;               // matching requests answered normally first
  int faultCount = -1;              // how many matching requests get the fault; -1 all
  int lateMs = 1000;
  int newModules = 2;               // module count after a ModuleChange fault
  std::vector<unsigned char> raw;   // bytes of a Raw fault
  int reportedModules = -1;         // module count byte of the $22 reply, when not `modules`
  int rawChannel = 0;               // 1-based channel whose reading is sent as `rawReading`
  std::vector<unsigned char> rawReading;  // its 4 bytes as sent
  int typeCodeModule = 0;           // 1-based module whose $61 reply carries `typeCode`
  int typeCode = -1;                // that type code byte, whatever `types` says
  std::string readyEvent;           // named event set once the port is open
  bool verbose = false;
};

// Parses argv (UTF-8). On error returns false with a message in `error`.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The usage text printed on a command-line error.
const char* SimUsage();
