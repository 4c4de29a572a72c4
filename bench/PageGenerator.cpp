// Realistic web pages for the benchmarks; see PageGenerator.h.
#include "PageGenerator.h"

#include <cstdint>
#include <iterator>
#include <string_view>

namespace kovra::bench {
namespace {

// splitmix64: small, fast and the same everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, n); the modulo bias is irrelevant for the small n used here.
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
  uint32_t Between(uint32_t lo, uint32_t hi) { return lo + Below(hi - lo + 1); }
  bool Percent(uint32_t p) { return Below(100) < p; }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<uint32_t>(N))];
  }

 private:
  uint64_t state_;
};

// Common Chinese characters, as UTF-16 code units.
// clang-format off
constexpr char16_t kHanzi[] = {
    0x7684, 0x4E00, 0x662F, 0x4E0D, 0x4E86, 0x5728, 0x4EBA, 0x6709, 0x6211, 0x4ED6,  // 的一是不了在人有我他
    0x8FD9, 0x4E2A, 0x4EEC, 0x4E2D, 0x6765, 0x4E0A, 0x5927, 0x4E3A, 0x548C, 0x56FD,  // 这个们中来上大为和国
    0x5730, 0x5230, 0x4EE5, 0x8BF4, 0x65F6, 0x8981, 0x5C31, 0x51FA, 0x4F1A, 0x53EF,  // 地到以说时要就出会可
    0x4E5F, 0x4F60, 0x5BF9, 0x751F, 0x80FD, 0x800C, 0x5B50, 0x90A3, 0x5F97, 0x4E8E,  // 也你对生能而子那得于
    0x7740, 0x4E0B, 0x81EA, 0x4E4B, 0x5E74, 0x8FC7, 0x53D1, 0x540E, 0x4F5C, 0x91CC,  // 着下自之年过发后作里
    0x7528, 0x9053, 0x884C, 0x6240, 0x7136, 0x5BB6, 0x79CD, 0x4E8B, 0x6210, 0x65B9,  // 用道行所然家种事成方
    0x591A, 0x7ECF, 0x4E48, 0x53BB, 0x6CD5, 0x5B66, 0x5982, 0x90FD, 0x540C, 0x73B0,  // 多经么去法学如都同现
    0x5F53, 0x6CA1, 0x52A8, 0x9762, 0x8D77, 0x770B, 0x5B9A, 0x5929, 0x5206, 0x8FD8,  // 当没动面起看定天分还
    0x8FDB, 0x597D, 0x5C0F, 0x90E8, 0x5176, 0x4E9B, 0x4E3B, 0x6837, 0x7406, 0x5FC3,  // 进好小部其些主样理心
    0x5979, 0x672C, 0x524D, 0x5F00, 0x4F46, 0x56E0, 0x53EA, 0x4ECE, 0x60F3, 0x5B9E,  // 她本前开但因只从想实
    0x65E5, 0x519B, 0x8005, 0x610F, 0x65E0, 0x529B, 0x5B83, 0x4E0E, 0x957F, 0x628A,  // 日军者意无力它与长把
    0x673A, 0x5341, 0x6C11, 0x7B2C, 0x516C, 0x6B64, 0x5DF2, 0x5DE5, 0x4F7F, 0x60C5,  // 机十民第公此已工使情
    0x660E, 0x6027, 0x77E5, 0x5168, 0x4E09, 0x53C8, 0x5173, 0x70B9, 0x6B63, 0x4E1A,  // 明性知全三又关点正业
    0x5916, 0x5C06, 0x4E24, 0x9AD8, 0x95F4, 0x7531, 0x95EE, 0x5F88, 0x6700, 0x91CD,  // 外将两高间由问很最重
    0x5E76, 0x7269, 0x624B, 0x5E94, 0x6218, 0x5411, 0x5934, 0x6587, 0x4F53, 0x653F,  // 并物手应战向头文体政
    0x7F8E, 0x76F8, 0x89C1, 0x88AB, 0x5229, 0x4EC0, 0x4E8C, 0x7B49, 0x4EA7, 0x6216,  // 美相见被利什二等产或
    0x65B0, 0x5DF1, 0x5236, 0x8EAB, 0x679C, 0x52A0, 0x897F, 0x65AF, 0x6708, 0x8BDD,  // 新己制身果加西斯月话
    0x5408, 0x56DE, 0x7279, 0x4EE3, 0x5185, 0x4FE1, 0x8868, 0x5316, 0x8001, 0x7ED9,  // 合回特代内信表化老给
    0x4E16, 0x4F4D, 0x6B21, 0x5EA6, 0x95E8, 0x4EFB, 0x5E38, 0x5148, 0x6D77, 0x901A,  // 世位次度门任常先海通
    0x6559, 0x513F, 0x539F, 0x4E1C, 0x58F0, 0x63D0, 0x7ACB, 0x53CA, 0x6BD4, 0x5458,  // 教儿原东声提立及比员
    0x89E3, 0x6C34, 0x540D, 0x771F, 0x8BBA, 0x5904, 0x8D70, 0x4E49, 0x5404, 0x5165,  // 解水名真论处走义各入
    0x51E0, 0x53E3, 0x8BA4, 0x6761, 0x5E73, 0x7CFB, 0x6C14, 0x9898, 0x6D3B, 0x5C14,  // 几口认条平系气题活尔
    0x66F4, 0x522B, 0x6253, 0x5973, 0x53D8, 0x56DB, 0x795E, 0x603B, 0x4F55, 0x7535,  // 更别打女变四神总何电
    0x6570, 0x5B89, 0x5C11, 0x62A5, 0x624D, 0x7ED3, 0x53CD, 0x53D7, 0x76EE, 0x592A,  // 数安少报才结反受目太
    0x91CF, 0x518D, 0x611F, 0x5EFA, 0x52A1, 0x505A, 0x63A5, 0x5FC5, 0x573A, 0x4EF6,  // 量再感建务做接必场件
    0x8BA1, 0x7BA1, 0x671F, 0x5E02, 0x76F4, 0x5FB7, 0x8D44, 0x547D, 0x5C71, 0x91D1,  // 计管期市直德资命山金
    0x6307, 0x514B, 0x8BB8, 0x7EDF, 0x533A, 0x4FDD, 0x81F3, 0x961F, 0x5F62, 0x793E,  // 指克许统区保至队形社
    0x4FBF, 0x7A7A, 0x51B3, 0x6CBB, 0x5C55, 0x9A6C, 0x79D1, 0x53F8, 0x4E94, 0x57FA,  // 便空决治展马科司五基
    0x773C, 0x4E66, 0x975E, 0x5219, 0x542C, 0x767D, 0x5374, 0x754C, 0x8FBE, 0x5149,  // 眼书非则听白却界达光
    0x653E, 0x5F3A, 0x5373, 0x50CF, 0x96BE, 0x4E14, 0x6743, 0x601D, 0x738B, 0x8C61,  // 放强即像难且权思王象
    0x5B8C, 0x8BBE, 0x5F0F, 0x8272, 0x8DEF, 0x8BB0, 0x5357, 0x54C1, 0x4F4F, 0x544A,  // 完设式色路记南品住告
    0x7C7B, 0x6C42, 0x636E, 0x7A0B, 0x5317, 0x8FB9, 0x6B7B, 0x5F20, 0x8BE5, 0x4EA4,  // 类求据程北边死张该交
    0x89C4, 0x4E07, 0x53D6, 0x62C9, 0x683C, 0x671B, 0x89C9, 0x672F, 0x9886, 0x5171,  // 规万取拉格望觉术领共
    0x786E, 0x4F20, 0x5E08, 0x89C2, 0x6E05, 0x4ECA, 0x5207, 0x9662, 0x8BA9, 0x8BC6,  // 确传师观清今切院让识
    0x5019, 0x5E26, 0x5BFC, 0x4E89, 0x8FD0, 0x7B11, 0x98DE, 0x98CE, 0x6B65, 0x6539,  // 候带导争运笑飞风步改
    0x6536, 0x6839, 0x5E72, 0x9020, 0x8A00, 0x8054, 0x6301, 0x7EC4, 0x6BCF, 0x6D4E,  // 收根干造言联持组每济
    0x8F66, 0x4EB2, 0x6781, 0x6797, 0x670D, 0x5FEB, 0x529E, 0x8BAE, 0x5F80, 0x5143,  // 车亲极林服快办议往元
    0x82F1, 0x58EB, 0x8BC1, 0x8FD1, 0x5931, 0x8F6C, 0x592B, 0x4EE4, 0x51C6, 0x5E03,  // 英士证近失转夫令准布
    0x59CB, 0x600E, 0x5462, 0x5B58, 0x672A, 0x8FDC, 0x53EB, 0x53F0, 0x5355, 0x5F71,  // 始怎呢存未远叫台单影
    0x5177, 0x7F57, 0x5B57, 0x7231, 0x51FB, 0x6D41, 0x5907, 0x5175, 0x8FDE, 0x8C03,  // 具罗字爱击流备兵连调
};
// clang-format on

constexpr char16_t kFullComma = 0xFF0C;   // ，
constexpr char16_t kFullStop = 0x3002;    // 。
constexpr char16_t kFullColon = 0xFF1A;   // ：
constexpr char16_t kEnumComma = 0x3001;   // 、
constexpr char16_t kYen = 0x00A5;         // ¥
constexpr char16_t kCopyright = 0x00A9;   // ©
constexpr char16_t kLeftQuote = 0x201C;   // “
constexpr char16_t kRightQuote = 0x201D;  // ”
constexpr char16_t kYear = 0x5E74;        // 年
constexpr char16_t kMore1 = 0x66F4;       // 更
constexpr char16_t kMore2 = 0x591A;       // 多

constexpr std::string_view kWords[] = {
    "the",     "market",  "price",   "report", "update", "new",      "city",    "online",
    "service", "mobile",  "users",   "data",   "season", "growth",   "review",  "China",
    "global",  "company", "release", "today",  "free",   "shipping", "quality", "support",
    "video",   "photo",   "travel",  "guide",  "best",   "of",       "and",     "with",
    "for",     "in",      "on",      "a",      "to",     "from",     "more",    "news"};
constexpr std::string_view kBrands[] = {"iPhone", "Galaxy",  "ThinkPad", "Kindle", "Xbox",
                                        "PS5",    "MacBook", "Pixel",    "Switch", "Surface"};
constexpr std::string_view kHosts[] = {"www.example.com", "news.example.com.cn", "shop.example.net",
                                       "bbs.example.org", "m.example.com.cn",    "blog.example.net",
                                       "www.kovra.test",  "video.example.com"};
constexpr std::string_view kChannels[] = {"news",  "finance", "tech", "sports", "ent",
                                          "auto",  "house",   "edu",  "travel", "shop",
                                          "forum", "video",   "tag",  "special"};
constexpr std::string_view kPages[] = {"detail.php", "list.php", "show.asp",   "view.jsp",
                                       "index.html", "item.htm", "thread.php", "search"};
constexpr std::string_view kParams[] = {"id",  "page", "from", "sort", "cat",
                                        "uid", "ref",  "tab",  "tid",  "pn"};
constexpr std::string_view kClasses[] = {"item",  "list", "box",   "mod",      "pic",
                                         "title", "info", "hot",   "clearfix", "con",
                                         "txt",   "row",  "panel", "tab-bd"};
constexpr std::string_view kStyleRules[] = {
    "body{margin:0;padding:0;font:12px/1.5 \"Microsoft YaHei\",Arial,sans-serif;color:#333}",
    "a{color:#1f3a93;text-decoration:none}a:hover{color:#c00;text-decoration:underline}",
    "ul,li{list-style:none;margin:0;padding:0}",
    ".clearfix:after{content:\".\";display:block;height:0;clear:both;visibility:hidden}",
    "#wrap{width:1000px;margin:0 auto}.header{height:90px;background:#f5f5f5}",
    ".nav li{float:left;padding:0 12px;line-height:36px}.nav a{color:#fff;font-size:14px}",
    ".box{border:1px solid #e5e5e5;margin-bottom:10px}.box-hd{height:32px;background:#fafafa}",
    ".box-hd h3{float:left;font-size:14px;padding-left:10px}.box-hd .more{float:right}",
    ".list li{height:26px;line-height:26px;overflow:hidden;white-space:nowrap}",
    ".list .date{float:right;color:#999}.price{color:#e4393c;font-weight:bold}",
    ".price-table{width:100%;border-collapse:collapse}.price-table td{border:1px solid #eee}",
    ".article p{text-indent:2em;margin:8px 0;font-size:14px;line-height:1.8}",
    ".footer{text-align:center;color:#666;padding:20px 0;border-top:2px solid #1f3a93}",
    ".tags a{display:inline-block;margin:2px 4px;padding:0 6px;background:#f0f0f0}"};
// Script snippets; "\n" starts a new line.
constexpr std::string_view kScriptSnippets[] = {
    "var _hmt = _hmt || [];\n_hmt.push([\"_setAccount\", \"5f3c0b8e2a\"]);",
    "function $(id) { return document.getElementById(id); }",
    "function setTab(name, cursel, n) {\n"
    "  for (var i = 1; i <= n; i++) {\n"
    "    var menu = $(name + i), con = $(\"con_\" + name + \"_\" + i);\n"
    "    menu.className = i == cursel ? \"hover\" : \"\";\n"
    "    con.style.display = i == cursel ? \"block\" : \"none\";\n"
    "  }\n"
    "}",
    "if (window.location.hash.indexOf(\"debug\") > 0) {\n  console.log(\"page ready\");\n}",
    "document.onkeydown = function (e) {\n"
    "  e = e || window.event;\n"
    "  if (e.keyCode == 37) { location.href = prevPage; }\n"
    "  if (e.keyCode == 39) { location.href = nextPage; }\n"
    "};",
    "var isMobile = /Android|iPhone|iPad/i.test(navigator.userAgent);\n"
    "if (isMobile && document.cookie.indexOf(\"pc=1\") < 0) {\n"
    "  document.body.className += \" mobile\";\n"
    "}",
    "window.onload = function () {\n  lazyLoad(document.images);\n  initSlides(\"focus\", "
    "5000);\n};",
    "function lazyLoad(imgs) {\n"
    "  for (var i = 0; i < imgs.length; i++) {\n"
    "    var src = imgs[i].getAttribute(\"data-src\");\n"
    "    if (src && imgs[i].offsetTop < document.documentElement.clientHeight + 200) {\n"
    "      imgs[i].src = src;\n"
    "    }\n"
    "  }\n"
    "}"};

size_t Utf8Length(char16_t unit) {
  if (unit < 0x80) return 1;
  if (unit < 0x800) return 2;
  if (unit >= 0xD800 && unit <= 0xDFFF) return 2;  // half of a 4-byte sequence
  return 3;
}

// Appends to a UTF-16 page and keeps count of its UTF-8 size and its links.
class PageWriter {
 public:
  explicit PageWriter(Rng& rng) : rng_(rng) {}

  Rng& rng() { return rng_; }
  size_t bytes() const { return bytes_; }
  size_t links() const { return links_; }
  const std::u16string& text() const { return out_; }

  void Put(std::string_view ascii) {
    for (char c : ascii) out_.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    bytes_ += ascii.size();
  }
  void Put(char16_t unit) {
    out_.push_back(unit);
    bytes_ += Utf8Length(unit);
  }
  void Append(const PageWriter& other) {
    out_ += other.out_;
    bytes_ += other.bytes_;
    links_ += other.links_;
  }
  void Number(uint64_t value, int width = 0) {
    char digits[24];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n < width) digits[n++] = '0';
    while (n > 0) Put(static_cast<char16_t>(digits[--n]));
  }
  void Line(int depth) {
    Put("\n");
    for (int i = 0; i < depth; ++i) Put("  ");
  }
  void Han(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      Put(kHanzi[rng_.Below(static_cast<uint32_t>(std::size(kHanzi)))]);
    }
  }
  void English(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      if (i > 0) Put(" ");
      Put(rng_.Pick(kWords));
    }
  }
  void Date() {
    Put("2024-");
    Number(rng_.Between(1, 12), 2);
    Put("-");
    Number(rng_.Between(1, 28), 2);
  }

  // A headline: mostly Chinese, sometimes with a brand, a year or an English word.
  void Headline() {
    Han(rng_.Between(2, 7));
    switch (rng_.Below(5)) {
      case 0:
        Put(rng_.Pick(kBrands));
        if (rng_.Percent(50)) {
          Put(" ");
          Number(rng_.Between(2, 16));
        }
        break;
      case 1:
        Number(rng_.Between(2015, 2024));
        Put(kYear);
        break;
      case 2:
        Put(kFullComma);
        break;
      default:
        break;
    }
    Han(rng_.Between(2, 8));
  }

  // One sentence of body text; Chinese, English, or Chinese with Latin words.
  void Sentence() {
    const uint32_t kind = rng_.Below(10);
    if (kind < 2) {
      English(rng_.Between(6, 16));
      Put(".");
      return;
    }
    Han(rng_.Between(4, 14));
    if (kind < 5) {
      Put(" ");
      Put(kind == 2 ? rng_.Pick(kBrands) : rng_.Pick(kWords));
      Put(" ");
    } else if (kind == 5) {
      Number(rng_.Between(1, 99999));
      Han(rng_.Between(1, 3));
      Put(kEnumComma);
      Han(rng_.Between(2, 4));
    } else if (kind == 6) {
      Put(kLeftQuote);
      Han(rng_.Between(2, 6));
      Put(kRightQuote);
    }
    Put(kFullComma);
    Han(rng_.Between(5, 20));
    Put(kFullStop);
  }

  void Url() {
    const uint32_t kind = rng_.Below(100);
    if (kind < 45) {  // absolute article address
      Put(rng_.Percent(60) ? "https://" : "http://");
      Put(rng_.Pick(kHosts));
      Put("/");
      Put(rng_.Pick(kChannels));
      Put("/2024/");
      Number(rng_.Between(1, 12), 2);
      Number(rng_.Between(1, 28), 2);
      Put("/");
      Number(rng_.Between(100000, 999999));
      Put(rng_.Percent(70) ? ".html" : ".shtml");
      if (rng_.Percent(20)) {
        Put("?from=");
        Put(rng_.Pick(kChannels));
      }
    } else if (kind < 80) {  // site-relative with a query string
      Put("/");
      Put(rng_.Pick(kChannels));
      Put("/");
      Put(rng_.Pick(kPages));
      Put("?");
      Put(rng_.Pick(kParams));
      Put("=");
      Number(rng_.Between(1, 9999999));
      if (rng_.Percent(40)) {
        Put("&amp;");
        Put(rng_.Pick(kParams));
        Put("=");
        Put(rng_.Percent(50) ? std::string_view("list") : rng_.Pick(kChannels));
      }
    } else if (kind < 92) {  // document-relative
      if (rng_.Percent(50)) {
        Put("list_");
        Number(rng_.Between(2, 60));
        Put(".html");
      } else {
        Put("../");
        Put(rng_.Pick(kChannels));
        Put("/index.html");
      }
    } else if (kind < 97) {
      Put("#");
      Put(rng_.Pick(kClasses));
    } else {
      Put("javascript:void(0)");
    }
  }

  // <a href="...">text</a>, sometimes with more attributes or inner markup.
  void Link(bool short_text = false) {
    Put("<a href=\"");
    Url();
    Put("\"");
    if (rng_.Percent(25)) Put(" target=\"_blank\"");
    if (rng_.Percent(15)) {
      Put(" class=\"");
      Put(rng_.Pick(kClasses));
      Put("\"");
    }
    Put(">");
    if (short_text) {
      Han(rng_.Between(2, 4));
    } else if (rng_.Percent(8)) {
      Put("<img src=\"/uploads/2024/");
      Number(rng_.Between(1000, 9999));
      Put(".jpg\" alt=\"");
      Han(rng_.Between(2, 6));
      Put("\" width=\"120\" height=\"90\">");
    } else if (rng_.Percent(10)) {
      Put("<b>");
      Han(rng_.Between(2, 4));
      Put("</b>");
      Headline();
    } else {
      Headline();
    }
    Put("</a>");
    ++links_;
  }

  void StartBox(int depth, bool with_more) {
    Line(depth);
    Put("<div class=\"box ");
    Put(rng_.Pick(kClasses));
    Put("\">");
    Line(depth + 1);
    Put("<div class=\"box-hd\"><h3>");
    Han(rng_.Between(2, 5));
    Put("</h3>");
    if (with_more) {
      Put("<a href=\"/");
      Put(rng_.Pick(kChannels));
      Put("/\" class=\"more\">");
      Put(kMore1);
      Put(kMore2);
      Put(" &gt;&gt;</a>");
      ++links_;
    }
    Put("</div>");
    Line(depth + 1);
    Put("<div class=\"box-bd\">");
  }
  void EndBox(int depth) {
    Line(depth + 1);
    Put("</div>");
    Line(depth);
    Put("</div>");
  }

  void ListItem(int depth) {
    Line(depth);
    Put("<li>");
    if (rng_.Percent(40)) {
      Put("<span class=\"date\">");
      Date();
      Put("</span>");
    }
    if (rng_.Percent(15)) {
      Put("[");
      Link(true);
      Put("] ");
    }
    Link();
    Put("</li>");
  }

  // Sections rich in links.
  void ArticleList(int depth) {
    StartBox(depth, true);
    Line(depth + 2);
    Put("<ul class=\"list\">");
    const uint32_t items = rng_.Between(5, 12);
    for (uint32_t i = 0; i < items; ++i) ListItem(depth + 3);
    Line(depth + 2);
    Put("</ul>");
    EndBox(depth);
  }
  void PriceTable(int depth) {
    StartBox(depth, false);
    Line(depth + 2);
    Put("<table class=\"price-table\" cellspacing=\"0\">");
    Line(depth + 3);
    Put("<tr><th>");
    Han(2);
    Put("</th><th>");
    Han(2);
    Put("</th><th>");
    Han(2);
    Put("</th><th>");
    Han(2);
    Put("</th></tr>");
    const uint32_t rows = rng_.Between(4, 10);
    for (uint32_t i = 0; i < rows; ++i) {
      Line(depth + 3);
      Put(i % 2 == 0 ? "<tr class=\"odd\">" : "<tr class=\"even\">");
      Line(depth + 4);
      Put("<td class=\"name\"><a href=\"/shop/item.htm?id=");
      Number(rng_.Between(10000, 99999999));
      if (rng_.Percent(50)) Put("&amp;src=list");
      Put("\">");
      Put(rng_.Pick(kBrands));
      Put(" ");
      Han(rng_.Between(3, 8));
      Put("</a></td>");
      ++links_;
      Line(depth + 4);
      Put("<td>");
      Put(static_cast<char16_t>('A' + rng_.Below(26)));
      Put(static_cast<char16_t>('A' + rng_.Below(26)));
      Put("-");
      Number(rng_.Between(100, 9999));
      Put("</td>");
      Line(depth + 4);
      Put("<td class=\"price\">");
      Put(kYen);
      const uint32_t price = rng_.Between(9, 25999);
      if (price >= 1000) {
        Number(price / 1000);
        Put(",");
        Number(price % 1000, 3);
      } else {
        Number(price);
      }
      Put(".");
      Number(rng_.Percent(70) ? 0 : rng_.Between(1, 99), 2);
      Put("</td>");
      Line(depth + 4);
      Put("<td>");
      Han(2);
      Put("</td>");
      Line(depth + 3);
      Put("</tr>");
    }
    Line(depth + 2);
    Put("</table>");
    EndBox(depth);
  }
  void TagCloud(int depth) {
    Line(depth);
    Put("<div class=\"tags\">");
    const uint32_t tags = rng_.Between(8, 20);
    for (uint32_t i = 0; i < tags; ++i) {
      if (i % 5 == 0) Line(depth + 1);
      Link(true);
      Put(" ");
    }
    Line(depth);
    Put("</div>");
  }

  // Sections rich in text.
  void Article(int depth) {
    Line(depth);
    Put("<div class=\"article\">");
    Line(depth + 1);
    Put("<h2>");
    Headline();
    Put("</h2>");
    Line(depth + 1);
    Put("<div class=\"info\">");
    Date();
    Put(" ");
    Number(rng_.Between(10, 23), 2);
    Put(":");
    Number(rng_.Below(60), 2);
    Put(" ");
    Han(2);
    Put(kFullColon);
    Han(rng_.Between(2, 4));
    Put("</div>");
    const uint32_t paragraphs = rng_.Between(1, 4);
    for (uint32_t p = 0; p < paragraphs; ++p) {
      Line(depth + 1);
      Put("<p>");
      const uint32_t sentences = rng_.Between(1, 4);
      for (uint32_t s = 0; s < sentences; ++s) {
        Sentence();
        if (rng_.Percent(20)) Link();
      }
      Put("</p>");
    }
    Line(depth);
    Put("</div>");
  }
  void InlineScript(int depth) {
    Line(depth);
    Put("<script type=\"text/javascript\">");
    const uint32_t snippets = rng_.Between(1, 3);
    for (uint32_t i = 0; i < snippets; ++i) {
      std::string_view snippet = rng_.Pick(kScriptSnippets);
      for (;;) {
        const size_t cut = snippet.find('\n');
        Line(depth + 1);
        Put(snippet.substr(0, cut));
        if (cut == std::string_view::npos) break;
        snippet.remove_prefix(cut + 1);
      }
    }
    Line(depth + 1);
    Put("var adSlot");
    Number(rng_.Between(1, 99));
    Put(" = { id: \"u");
    Number(rng_.Between(100000, 9999999));
    Put("\", width: 300, height: 250, tip: \"");
    Han(rng_.Between(4, 10));
    Put("\" };");
    Line(depth);
    Put("</script>");
  }
  void AdSlot(int depth) {
    Line(depth);
    Put("<!-- ad slot ");
    Number(rng_.Between(1, 400));
    Put(" -->");
    Line(depth);
    Put("<div class=\"ad\"><div class=\"ad-inner\"><div id=\"ad_");
    Number(rng_.Between(1000, 9999));
    Put("\" style=\"width:300px;height:250px\"></div></div></div>");
  }

  void Section(int depth, bool need_links) {
    const uint32_t pick = rng_.Below(10);
    if (need_links) {
      if (pick < 5) {
        ArticleList(depth);
      } else if (pick < 7) {
        PriceTable(depth);
      } else {
        TagCloud(depth);
      }
    } else {
      if (pick < 7) {
        Article(depth);
      } else if (pick < 9) {
        InlineScript(depth);
      } else {
        AdSlot(depth);
      }
    }
  }

  void Head() {
    Put("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>");
    Line(1);
    Put("<meta charset=\"utf-8\">");
    Line(1);
    Put("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
    Line(1);
    Put("<title>");
    Headline();
    Put(" - ");
    Han(4);
    Put("</title>");
    Line(1);
    Put("<meta name=\"keywords\" content=\"");
    for (int i = 0; i < 6; ++i) {
      if (i > 0) Put(",");
      Han(rng_.Between(2, 4));
    }
    Put("\">");
    Line(1);
    Put("<meta name=\"description\" content=\"");
    Sentence();
    Put("\">");
    Line(1);
    Put("<link rel=\"stylesheet\" type=\"text/css\" href=\"/static/css/main.css?v=20240506\">");
    Line(1);
    Put("<style type=\"text/css\">");
    for (std::string_view rule : kStyleRules) {
      Line(1);
      Put(rule);
    }
    Line(1);
    Put("</style>");
    Line(1);
    Put("<script type=\"text/javascript\" "
        "src=\"https://static.example.com/js/jquery-1.12.4.min.js\">"
        "</script>");
    InlineScript(1);
    Put("\n</head>\n<body>");
    Line(1);
    Put("<div id=\"wrap\">");
    Line(2);
    Put("<div class=\"header\">");
    Line(3);
    Put("<div class=\"logo\"><a href=\"/\"><img src=\"/static/img/logo.png\" alt=\"");
    Han(3);
    Put("\"></a></div>");
    ++links_;
    Line(3);
    Put("<ul class=\"nav\">");
    for (int i = 0; i < 12; ++i) {
      Line(4);
      Put("<li><a href=\"/");
      Put(kChannels[i]);
      Put("/\">");
      Han(2);
      Put("</a></li>");
      ++links_;
    }
    Line(3);
    Put("</ul>");
    Line(2);
    Put("</div>");
    Line(2);
    Put("<div class=\"main clearfix\">");
    Line(3);
    Put("<div class=\"col-left\">");
  }

  void Tail() {
    Line(3);
    Put("</div>");
    Line(3);
    Put("<div class=\"col-right\">");
    ArticleList(4);
    TagCloud(4);
    Line(3);
    Put("</div>");
    Line(2);
    Put("</div>");
    Line(2);
    Put("<div class=\"footer\">");
    Line(3);
    Put("<p>");
    for (int i = 0; i < 6; ++i) {
      if (i > 0) Put(" | ");
      Put("<a href=\"/about/");
      Put(kChannels[i]);
      Put(".html\">");
      Han(4);
      Put("</a>");
      ++links_;
    }
    Put("</p>");
    Line(3);
    Put("<p>Copyright ");
    Put(kCopyright);
    Put(" 2004-2024 www.example.com All Rights Reserved. ");
    Han(6);
    Put(" 12345678");
    Put("</p>");
    Line(2);
    Put("</div>");
    Line(1);
    Put("</div>");
    Line(1);
    Put("<script type=\"text/javascript\">");
    Line(2);
    Put("(function () { var hm = document.createElement(\"script\");"
        " hm.src = \"https://stat.example.com/hm.js?5f3c0b8e\";"
        " var s = document.getElementsByTagName(\"script\")[0];"
        " s.parentNode.insertBefore(hm, s); })();");
    Line(1);
    Put("</script>\n</body>\n</html>\n");
  }

 private:
  Rng& rng_;
  std::u16string out_;
  size_t bytes_ = 0;
  size_t links_ = 0;
};

constexpr uint64_t kSeed = 0x4B6F7672612D3031ull;
constexpr uint64_t kTailSeed = 0x5461696C2D303031ull;
// Links per MiB of UTF-8 text.
constexpr size_t kLinksPerMiB = 5800;

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace

std::u16string MakePage(size_t target_bytes) {
  // The closing part is made first, from its own seed, so that its size is
  // known while the body is filled.
  Rng tail_rng(kTailSeed);
  PageWriter tail(tail_rng);
  tail.Tail();

  Rng rng(kSeed);
  PageWriter page(rng);
  page.Head();
  const size_t budget = target_bytes > tail.bytes() ? target_bytes - tail.bytes() : 0;

  // Whole sections while they fit; the link-rich ones whenever the page has
  // fallen behind the link density.
  for (;;) {
    const size_t bytes = page.bytes() + tail.bytes();
    const bool need_links = page.links() * (size_t{1} << 20) < bytes * kLinksPerMiB;
    PageWriter section(rng);
    section.Section(4, need_links);
    if (page.bytes() + section.bytes() > budget) break;
    page.Append(section);
  }
  // Then single list items or sentences, then blanks for the last few bytes.
  for (;;) {
    PageWriter piece(rng);
    if (page.links() * (size_t{1} << 20) < page.bytes() * kLinksPerMiB) {
      piece.ListItem(4);
    } else {
      piece.Line(4);
      piece.Put("<p>");
      piece.Sentence();
      piece.Put("</p>");
    }
    if (page.bytes() + piece.bytes() > budget) break;
    page.Append(piece);
  }
  if (page.bytes() < budget) {
    page.Line(0);
    while (page.bytes() < budget) page.Put(" ");
  }
  page.Append(tail);
  return page.text();
}

std::string MakePageUtf8(size_t target_bytes) {
  return ToUtf8(MakePage(target_bytes));
}

size_t CountLinks(std::u16string_view page) {
  constexpr std::u16string_view kLink = u"<a href=";
  size_t count = 0;
  for (size_t at = page.find(kLink); at != std::u16string_view::npos;
       at = page.find(kLink, at + kLink.size())) {
    ++count;
  }
  return count;
}

}  // namespace kovra::bench
