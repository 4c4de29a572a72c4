// "kovra demo" over the example library: every example page is served by a
// script, each script prints its result, and the example navigations are
// decided by the rules they are meant to show.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// One run of the demo for the whole test program.
const kovra_test::TCommandResult& Demo() {
  static const kovra_test::TCommandResult run = kovra_test::RunCommand(
      std::string("\"") + KOVRA_BINARY + "\" demo --examples \"" + KOVRA_EXAMPLES + "\"");
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

// The server's port in the printed addresses, written as "{port}".
std::string WithoutPort(std::string line) {
  const std::string host = "127.0.0.1:";
  for (size_t at = line.find(host); at != std::string::npos; at = line.find(host, at)) {
    at += host.size();
    size_t end = at;
    while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
    line.replace(at, end - at, "{port}");
  }
  return line;
}

// The lines of the demo's section that begins with "== " and a header line
// ending in `title_end` (without the header itself), ports written as "{port}".
std::vector<std::string> Section(const std::string& title_end) {
  std::vector<std::string> section;
  bool inside = false;
  for (const std::string& line : Lines(Demo().out)) {
    if (line.starts_with("== ")) {
      if (inside) break;
      inside = line.ends_with(title_end);
      continue;
    }
    if (inside) section.push_back(WithoutPort(line));
  }
  while (!section.empty() && section.back().empty()) section.pop_back();
  return section;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

size_t CountStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
}

TEST(KovraDemo, RunsCleanlyAndServesEveryPage) {
  const kovra_test::TCommandResult& r = Demo();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(r.out.starts_with("Kovra demo: 5 scripts from ")) << r.out;
  EXPECT_EQ(r.out.find("no script serves this page"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n5 of 5 pages served by a script.\n"), std::string::npos) << r.out;
}

TEST(KovraDemo, NewsFrontPage) {
  const std::vector<std::string> s = Section("/news.html");
  ASSERT_FALSE(s.empty()) << Demo().out;
  EXPECT_EQ(s[0], "script: news_front (NeedResult 1, ResultToNewPage 0)");
  EXPECT_TRUE(Has(s, "title\t晨报新闻网 Morning Post - 首页"));
  EXPECT_TRUE(Has(s, "headline\thttp://127.0.0.1:{port}/article.html\t长江流域迎来今年首轮强降雨，多地启动防汛应急响应"));
  EXPECT_TRUE(Has(s, "headline\thttp://127.0.0.1:{port}/article.html?id=1002\t"
                     "Central bank keeps lending rates unchanged for third month"));
  EXPECT_TRUE(Has(s, "headline\thttp://127.0.0.1:{port}/article.html?id=1012\t"
                     "Open source & open data: the city publishes its bus timetables"));
  EXPECT_TRUE(Has(s, "headline\thttp://127.0.0.1:{port}/article.html?id=1013\t电影《长安三万里》海外上映获好评"));
  EXPECT_TRUE(Has(s, "headline\thttp://world.example-news.test/2024/05/18/climate.html\t"
                     "World leaders meet to discuss climate targets"));
  EXPECT_TRUE(Has(s, "headline\thttp://127.0.0.1:{port}/article.html?id=1015\t今晚八点：中超联赛 上海 对 北京 直播"));
  EXPECT_EQ(CountStarting(s, "headline\t"), 15u);
  EXPECT_EQ(s.back(), "headlines\t15");
}

TEST(KovraDemo, Article) {
  const std::vector<std::string> s = Section("/article.html");
  ASSERT_FALSE(s.empty()) << Demo().out;
  EXPECT_EQ(s[0], "script: news_article (NeedResult 1, ResultToNewPage 1)");
  EXPECT_TRUE(Has(s, "title\t长江流域迎来今年首轮强降雨，多地启动防汛应急响应"));
  EXPECT_TRUE(Has(s, "author\t王小明 (Wang Xiaoming)"));
  EXPECT_TRUE(Has(s, "date\t2024-05-18 09:30"));
  EXPECT_TRUE(Has(s, "paragraph 1\t本报讯　5月17日起，长江中下游地区迎来今年入汛以来的首轮强降雨过程，"
                     "湖北、安徽、江西等地部分地区出现暴雨到大暴雨。"));
  EXPECT_TRUE(Has(s, "paragraph 4\tThe provincial flood control office said that rescue teams and "
                     "more than 2,000 volunteers are on standby along the river."));
  EXPECT_EQ(s.back(), "paragraphs\t4");
}

TEST(KovraDemo, ShopProductList) {
  const std::vector<std::string> s = Section("/shop.html");
  ASSERT_FALSE(s.empty()) << Demo().out;
  EXPECT_EQ(s[0], "script: shop_list (NeedResult 1, ResultToNewPage 0)");
  EXPECT_TRUE(Has(s, "shop\t优选数码商城 - 键盘鼠标 Keyboards & Mice"));
  EXPECT_TRUE(Has(s, "机械键盘 87键 Mechanical Keyboard\t399.00\t有货"));
  EXPECT_TRUE(Has(s, "USB-C 扩展坞 七合一\t189.00\t仅剩 3 件"));
  EXPECT_TRUE(Has(s, "显示器支架 Monitor Stand\t249.00\t缺货"));
  EXPECT_TRUE(Has(s, "超大鼠标垫 XXL Mouse Pad\t1099.00\t预售"));
  EXPECT_EQ(s.back(), "products\t6");
}

TEST(KovraDemo, ExchangeRateTable) {
  const std::vector<std::string> s = Section("/table.html");
  ASSERT_FALSE(s.empty()) << Demo().out;
  EXPECT_EQ(s[0], "script: exchange_rates (NeedResult 1, ResultToNewPage 0)");
  ASSERT_GE(s.size(), 3u);
  EXPECT_EQ(s[1], "货币名称\t代码 Code\t现汇买入价\t现汇卖出价\t中间价");
  EXPECT_EQ(s[2], "美元\tUSD\t722.56\t725.59\t710.45");
  EXPECT_TRUE(Has(s, "日元\tJPY\t4.6315\t4.6654\t4.5618"));
  EXPECT_TRUE(Has(s, "加拿大元\tCAD\t528.76\t532.66\t520.37"));
  EXPECT_EQ(s.back(), "rows\t8");
}

TEST(KovraDemo, SearchFormIsPosted) {
  const std::vector<std::string> s = Section("/search.html");
  ASSERT_FALSE(s.empty()) << Demo().out;
  const std::vector<std::string> expected = {"script: shop_search (NeedResult 1, ResultToNewPage 0)",
                                             "query\tkeyboard", "Mechanical keyboard\t399.00",
                                             "Keyboard wrist rest\t59.00", "results\t2"};
  EXPECT_EQ(s, expected);
}

TEST(KovraDemo, Navigations) {
  const std::vector<std::string> s = Section("== Navigations");
  ASSERT_FALSE(s.empty()) << Demo().out;
  // The decision printed under a navigation; empty when it is not listed.
  auto decision = [&s](const std::string& parent, const std::string& target) {
    const auto it = std::find(s.begin(), s.end(), parent + " -> " + target);
    return it == s.end() || it + 1 == s.end() ? std::string() : *(it + 1);
  };
  const std::string site = "http://127.0.0.1:{port}/";
  struct TCase {
    std::string parent, target, starts, names;
  } cases[] = {
      {"news.html", "http://img.example-cdn.test/photos/0518/flood.jpg", "  allow: [Allow] *.example-cdn.test, ",
       "news_front)"},
      {"news.html", "http://ads.tracker.test/click?id=77", "  filter: [Filter] ads.*.test, ", "news_front)"},
      {"news.html", site + "article.html?id=1002", "  allow: no rule decides and the target is on the same site",
       "news_front))"},
      {"shop.html", "http://www.other-shop.test/deal.html", "  filter: [ExUrl] All Filter, another site, ",
       "shop_list)"},
      {"shop.html", site + "search.html", "  allow: [ExUrl] All Filter, same site, ", "shop_list)"},
      {"article.html", "http://www.weibo.test/share?url=article.html",
       "  would ask: no rule decides a jump to another site", "news_article))"},
      {"news.html", "http://win.bad-site.test/lottery.html", "  would ask: no rule decides a jump to another site",
       "news_front)); the target is on the black list"},
      {"table.html", "http://www.bank-data.test/rates.csv", "  allow: [ExUrl] All Allow, ", "exchange_rates)"},
  };
  for (const TCase& c : cases) {
    const std::string d = decision(site + c.parent, c.target);
    EXPECT_TRUE(d.starts_with(c.starts)) << c.parent << " -> " << c.target << ": " << d;
    EXPECT_TRUE(d.ends_with(c.names)) << c.parent << " -> " << c.target << ": " << d;
  }
  EXPECT_EQ(CountStarting(s, "  "), std::size(cases));
  EXPECT_EQ(CountStarting(s, "  would ask") + CountStarting(s, "  allow") + CountStarting(s, "  filter"),
            std::size(cases));
  // Only the black-listed target is reported as such.
  EXPECT_EQ(std::count_if(s.begin(), s.end(),
                          [](const std::string& l) { return l.ends_with("the target is on the black list"); }),
            1);
}

}  // namespace
