#include "interpreter/UnitIdHttp.h"

#include <array>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "textlib/UnitEngineDeFunction.h"

namespace kovra {
namespace {

using WView = std::u16string_view;

enum class TPropertyKind { kInteger, kBool, kText, kOptions, kProtocol };

struct TProperty {
  std::u16string_view word;  // lower case
  TPropertyKind kind;
  int32_t THttpSettings::*integer = nullptr;
  bool THttpSettings::*flag = nullptr;
  std::string THttpSettings::*text = nullptr;
};

constexpr TProperty Int(std::u16string_view w, int32_t THttpSettings::*m) {
  return {w, TPropertyKind::kInteger, m, nullptr, nullptr};
}
constexpr TProperty Bool(std::u16string_view w, bool THttpSettings::*m) {
  return {w, TPropertyKind::kBool, nullptr, m, nullptr};
}
constexpr TProperty Text(std::u16string_view w, std::string THttpSettings::*m) {
  return {w, TPropertyKind::kText, nullptr, nullptr, m};
}

constexpr TProperty kProperties[] = {
    Int(u"authretries", &THttpSettings::auth_retries),
    Bool(u"allowcookies", &THttpSettings::allow_cookies),
    Bool(u"handleredirects", &THttpSettings::handle_redirects),
    Int(u"redirectmaximum", &THttpSettings::redirect_maximum),
    Text(u"request.customheaders.text", &THttpSettings::custom_headers),
    Text(u"request.contenttype", &THttpSettings::content_type),
    Text(u"request.referer", &THttpSettings::referer),
    Text(u"request.accept", &THttpSettings::accept),
    Text(u"request.acceptcharset", &THttpSettings::accept_charset),
    Text(u"request.acceptencoding", &THttpSettings::accept_encoding),
    Text(u"request.acceptlanguage", &THttpSettings::accept_language),
    Text(u"request.host", &THttpSettings::request_host),
    Text(u"request.from", &THttpSettings::from),
    Text(u"request.password", &THttpSettings::password),
    Text(u"request.useragent", &THttpSettings::user_agent),
    Text(u"request.username", &THttpSettings::username),
    Text(u"request.proxyconnection", &THttpSettings::proxy_connection),
    Text(u"request.pragma", &THttpSettings::pragma),
    {u"httpoptions", TPropertyKind::kOptions},
    {u"protocolversion", TPropertyKind::kProtocol},
    Text(u"host", &THttpSettings::host),
    Int(u"port", &THttpSettings::port),
    Text(u"boundip", &THttpSettings::bound_ip),
    Int(u"boundport", &THttpSettings::bound_port),
    Int(u"boundportmax", &THttpSettings::bound_port_max),
    Int(u"boundportmin", &THttpSettings::bound_port_min),
    Int(u"connecttimeout", &THttpSettings::connect_timeout_ms),
    Int(u"readtimeout", &THttpSettings::read_timeout_ms),
};

struct TOption {
  std::u16string_view name;
  bool THttpSettings::*flag;
};
constexpr TOption kOptions[] = {
    {u"hoInProcessAuth", &THttpSettings::in_process_auth},
    {u"hoKeepOrigProtocol", &THttpSettings::keep_orig_protocol},
    {u"hoForceEncodeParams", &THttpSettings::force_encode_params},
};

const TProperty* FindProperty(WView word) {
  for (const TProperty& p : kProperties) {
    if (p.word == word) return &p;
  }
  return nullptr;
}

std::u16string ReadProperty(const TProperty& p, const THttpSettings& s) {
  switch (p.kind) {
    case TPropertyKind::kInteger:
      return IntToText(s.*p.integer);
    case TPropertyKind::kBool:
      return s.*p.flag ? u"true" : u"false";
    case TPropertyKind::kText:
      return ToWide(s.*p.text);
    case TPropertyKind::kOptions: {
      std::u16string out;
      for (const TOption& o : kOptions) {
        if (!(s.*o.flag)) continue;
        if (!out.empty()) out += u'+';
        out += o.name;
      }
      return out;
    }
    case TPropertyKind::kProtocol:
      return s.http_1_1 ? u"pv1_1" : u"pv1_0";
  }
  return {};
}

void SetProperty(const TProperty& p, WView value, THttpSettings& s) {
  const WView arg = NormArg(value);
  switch (p.kind) {
    case TPropertyKind::kInteger:
      s.*p.integer = ArgToInt(value);
      break;
    case TPropertyKind::kBool:
      s.*p.flag = LowerAscii(arg) != u"false";
      break;
    case TPropertyKind::kText:
      s.*p.text = ToNarrow(arg);
      break;
    case TPropertyKind::kOptions: {
      // All on, then off each option whose name does not occur anywhere in
      // the value; separators do not matter.
      const std::u16string lower = LowerAscii(arg);
      for (const TOption& o : kOptions) {
        s.*o.flag = lower.find(LowerAscii(o.name)) != std::u16string::npos;
      }
      break;
    }
    case TPropertyKind::kProtocol:
      s.http_1_1 = LowerAscii(arg) != u"pv1_0";
      break;
  }
}

}  // namespace

bool TIdHttp::Execute(TArgList& args, std::u16string& error) {
  if (args.size() < 3) return true;
  const std::u16string command = LowerAscii(NormArg(args[0]));
  if (command == u"get") return Request(false, args, error);
  if (command == u"post") return Request(true, args, error);
  const std::u16string property = LowerAscii(NormArg(args[1]));
  const TProperty* p = FindProperty(property);
  if (p == nullptr) return true;  // unknown properties are passed over
  if (command == u"read") {
    args.Set(2, ReadProperty(*p, settings_));
  } else {
    SetProperty(*p, args[2], settings_);
  }
  return true;
}

bool TIdHttp::Request(bool post, TArgList& args, std::u16string& error) {
  const WView target = NormArg(args[1]);
  const std::string url = ToNarrow(target);
  std::vector<std::string> lines;
  if (post && args.size() >= 4) {
    static constexpr WView kPlus[] = {u"+"};
    TSplitResult split;
    if (SplitText(args[3], kPlus, nullptr, u"'", u"'", u"''", split)) {
      const size_t count = std::min<size_t>(split.parts.size(), 255);
      for (size_t i = 0; i < count; ++i) lines.push_back(ToNarrow(NormArg(split.parts[i])));
    }
  }
  THttpResult result;
  if (!client_ && factory_ != nullptr) client_ = factory_();
  if (!client_) {
    result.error = "no HTTP client is available in this build";
  } else {
    result = post ? client_->Post(url, lines, settings_) : client_->Get(url, settings_);
  }
  if (!result.ok) {
    error = u"idHttp 请求失败：";
    error += target;
    error += u"：";
    error += ToWide(result.error);
    return false;
  }
  args.Set(2, std::move(result.body));
  return true;
}

}  // namespace kovra
