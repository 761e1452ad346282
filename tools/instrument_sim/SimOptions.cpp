// Parsing of the simulator's command line (see SimUsage for the grammar).
#include "tools/instrument_sim/SimOptions.h"

#include <cstdlib>

namespace {

bool ToInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 0);
  if (*end != '\0') return false;
  value = static_cast<int>(v);
  return true;
}

bool ToDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0';
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(sep, start);
    parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

bool ParseReadings(const std::string& text, SimOptions& o) {
  std::vector<std::string> p = Split(text, ':');
  if (p[0] == "const" && p.size() == 2) {
    o.readings = ReadingKind::Constant;
    return ToDouble(p[1], o.base);
  }
  if (p[0] == "ramp" && p.size() == 3) {
    o.readings = ReadingKind::Ramp;
    return ToDouble(p[1], o.base) && ToDouble(p[2], o.step);
  }
  if (p[0] == "noise" && p.size() == 3) {
    o.readings = ReadingKind::Noise;
    return ToDouble(p[1], o.base) && ToDouble(p[2], o.step);
  }
  if (p[0] == "seq" && p.size() == 2) {
    o.readings = ReadingKind::Sequence;
    o.sequence.clear();
    for (const std::string& v : Split(p[1], ',')) {
      double d = 0;
      if (!ToDouble(v, d)) return false;
      o.sequence.push_back(d);
    }
    return !o.sequence.empty();
  }
  return false;
}

bool ParseFault(const std::string& text, SimOptions& o) {
  std::vector<std::string> p = Split(text, ':');
  const std::string& k = p[0];
  if (p.size() == 1) {
    if (k == "none") o.fault = FaultKind::None;
    else if (k == "noreply") o.fault = FaultKind::NoReply;
    else if (k == "crc") o.fault = FaultKind::WrongCrc;
    else if (k == "echo") o.fault = FaultKind::WrongEcho;
    else if (k == "late") o.fault = FaultKind::Late;
    else if (k == "flood") o.fault = FaultKind::Flood;
    else if (k == "modules") o.fault = FaultKind::ModuleChange;
    else if (k == "short") o.fault = FaultKind::Short;
    else if (k == "garbage") o.fault = FaultKind::Garbage;
    else return false;
    return true;
  }
  if (p.size() == 2 && k == "raw") {
    o.fault = FaultKind::Raw;
    o.raw.clear();
    const std::string& hex = p[1];
    if (hex.empty() || hex.size() % 2 != 0) return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
      int byte = 0;
      if (!ToInt("0x" + hex.substr(i, 2), byte)) return false;
      o.raw.push_back(static_cast<unsigned char>(byte));
    }
    return true;
  }
  if (p.size() == 2 && k == "late") {
    o.fault = FaultKind::Late;
    return ToInt(p[1], o.lateMs) && o.lateMs >= 0;
  }
  if (p.size() == 2 && k == "modules") {
    o.fault = FaultKind::ModuleChange;
    return ToInt(p[1], o.newModules) && o.newModules >= 1 && o.newModules <= 8;
  }
  return false;
}

}  // namespace

const char* SimUsage() {
  return "usage: instrument_sim COMn [options]\n"
         "  --product TEXT        product number (reply to $21)\n"
         "  --model TEXT          product model (reply to $20)\n"
         "  --modules N           module count 1..8 (reply to $22)\n"
         "  --decimals 1|2        decimal mode (reply to $23)\n"
         "  --types LETTERS       thermocouple type per module, from KJTESNBR\n"
         "  --labels A,B,...      channel labels (13 characters each on the wire)\n"
         "  --readings const:V | ramp:START:STEP | noise:CENTRE:AMPLITUDE | seq:V1,V2,...\n"
         "  --channel-step D      added to each channel's reading per channel index\n"
         "  --seed N              seed of the noise generator\n"
         "  --report-modules N    module count byte sent in reply to $22 (0..255; the\n"
         "                        instrument still has --modules)\n"
         "  --raw-reading C:HEX8  channel C sends these 4 bytes as its reading\n"
         "  --type-code M:N       module M's reply to $61 carries type code N (0..255)\n"
         "  --fault none|noreply|crc|echo|late[:MS]|flood|modules[:N]|short|garbage|raw:HEX\n"
         "  --fault-on HEX        apply the fault to this command code only (e.g. 60)\n"
         "  --fault-after N       answer N matching requests normally first\n"
         "  --fault-count N       fault this many matching requests, then answer normally\n"
         "  --ready-event NAME    set this named event once the port is open\n"
         "  -v                    print every request and reply\n";
}

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& o, std::string& error) {
  size_t i = 0;
  auto value = [&](const std::string& name, std::string& out) {
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return false;
    }
    out = args[++i];
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    bool ok = true;
    if (a == "-v") {
      o.verbose = true;
    } else if (a == "--product") {
      ok = value(a, o.productNumber);
    } else if (a == "--model") {
      ok = value(a, o.productModel);
    } else if (a == "--modules") {
      ok = value(a, v) && ToInt(v, o.modules) && o.modules >= 1 && o.modules <= 8;
    } else if (a == "--report-modules") {
      ok = value(a, v) && ToInt(v, o.reportedModules) && o.reportedModules >= 0 &&
           o.reportedModules <= 255;
    } else if (a == "--raw-reading") {
      // C:HHHHHHHH, the channel and its 4 bytes in the order they are sent
      ok = value(a, v);
      if (ok) {
        const std::vector<std::string> p = Split(v, ':');
        ok = p.size() == 2 && ToInt(p[0], o.rawChannel) && o.rawChannel >= 1 &&
             o.rawChannel <= 64 && p[1].size() == 8;
        o.rawReading.clear();
        for (size_t k = 0; ok && k < 8; k += 2) {
          int byte = 0;
          ok = ToInt("0x" + p[1].substr(k, 2), byte);
          o.rawReading.push_back(static_cast<unsigned char>(byte));
        }
      }
    } else if (a == "--type-code") {
      ok = value(a, v);
      if (ok) {
        const std::vector<std::string> p = Split(v, ':');
        ok = p.size() == 2 && ToInt(p[0], o.typeCodeModule) && o.typeCodeModule >= 1 &&
             o.typeCodeModule <= 8 && ToInt(p[1], o.typeCode) && o.typeCode >= 0 &&
             o.typeCode <= 255;
      }
    } else if (a == "--decimals") {
      ok = value(a, v) && ToInt(v, o.decimals) && (o.decimals == 1 || o.decimals == 2);
    } else if (a == "--types") {
      ok = value(a, o.types) && !o.types.empty() &&
           o.types.find_first_not_of("KJTESNBR") == std::string::npos;
    } else if (a == "--labels") {
      ok = value(a, v);
      if (ok) o.labels = Split(v, ',');
    } else if (a == "--readings") {
      ok = value(a, v) && ParseReadings(v, o);
    } else if (a == "--channel-step") {
      ok = value(a, v) && ToDouble(v, o.channelStep);
    } else if (a == "--seed") {
      int s = 0;
      ok = value(a, v) && ToInt(v, s);
      o.seed = static_cast<unsigned>(s);
    } else if (a == "--fault") {
      ok = value(a, v) && ParseFault(v, o);
    } else if (a == "--fault-on") {
      ok = value(a, v) && ToInt("0x" + v, o.faultCommand) && o.faultCommand >= 0 &&
           o.faultCommand <= 255;
    } else if (a == "--fault-after") {
      ok = value(a, v) && ToInt(v, o.faultAfter) && o.faultAfter >= 0;
    } else if (a == "--fault-count") {
      ok = value(a, v) && ToInt(v, o.faultCount) && o.faultCount >= 0;
    } else if (a == "--ready-event") {
      ok = value(a, o.readyEvent);
    } else if (!a.empty() && a[0] != '-' && o.port.empty()) {
      o.port = a;
    } else {
      error = "unknown argument: " + a;
      return false;
    }
    if (!ok) {
      if (error.empty()) error = "bad value for " + a;
      return false;
    }
  }
  if (o.port.empty()) {
    error = "no port given";
    return false;
  }
  return true;
}
