#include "html_pages.h"

#include "web_text.h"

namespace tpgservice {

namespace {

constexpr const char* kStyle = R"(
*{box-sizing:border-box}
body{margin:0;padding:16px;font-family:system-ui,-apple-system,"Segoe UI",Roboto,sans-serif;
 background:#f4f4f1;color:#222;max-width:560px;margin-left:auto;margin-right:auto}
h1{font-size:1.6em;margin:.4em 0 .2em;text-align:center;word-wrap:break-word}
p.sub{text-align:center;color:#666;margin:0 0 1em}
a.option{display:block;width:100%;margin:12px 0;padding:22px 12px;border-radius:12px;
 background:#1d5fbf;color:#fff;font-size:1.35em;text-align:center;text-decoration:none;
 word-wrap:break-word}
a.option.link{background:#3b7d3b}
a.option:active{background:#123f80}
.done{background:#fff;border-radius:12px;padding:24px 12px;text-align:center;font-size:1.2em}
a.back{display:block;text-align:center;margin-top:20px;color:#1d5fbf}
table{border-collapse:collapse;width:100%;background:#fff}
th,td{border:1px solid #ccc;padding:6px;text-align:center}
form{background:#fff;border-radius:12px;padding:16px}
label{display:block;margin:8px 0 4px}
input{width:100%;padding:10px;font-size:1.1em}
button{margin-top:14px;width:100%;padding:12px;font-size:1.1em}
)";

std::string page(const std::string& title, const std::string& body, const char* extraStyle = "") {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>" +
           htmlEscape(title) + "</title><style>" + kStyle + extraStyle + "</style></head><body>\n" +
           body + "\n</body></html>\n";
}

std::string field(const Profile& profile, const std::string& key) {
    auto it = profile.find(key);
    return it == profile.end() ? std::string() : it->second;
}

std::string optionText(const Profile& profile, int option) {
    return field(profile, "text" + std::to_string(option));
}

} // namespace

std::string imagePath(const std::string& id, std::int64_t qr) {
    return "/customers/" + percentEncode(id) + "/qr" + std::to_string(qr) + ".png";
}

std::string guestPath(const std::string& id, std::int64_t qr) {
    return "/options.php?id=" + percentEncode(id) + "&qr=" + std::to_string(qr);
}

std::string guestPage(const std::string& id, std::int64_t qr, const Profile& profile) {
    std::string name = field(profile, "name");
    std::string body =
        "<h1>" + htmlEscape(name) + "</h1><p class=\"sub\">Table " + std::to_string(qr) + "</p>\n";
    int shown = 0;
    for (int option = 1; option <= 6; ++option) {
        std::string text = optionText(profile, option);
        if (text.empty()) continue;
        ++shown;
        std::string link =
            option >= 4 ? field(profile, "text" + std::to_string(option) + "www") : "";
        if (!link.empty()) {
            body += "<a class=\"option link\" id=\"option" + std::to_string(option) + "\" href=\"" +
                    htmlEscape(safeLink(link)) + "\">" + htmlEscape(text) + "</a>\n";
        } else {
            body += "<a class=\"option\" id=\"option" + std::to_string(option) + "\" href=\"" +
                    htmlEscape(guestPath(id, qr) + "&option=" + std::to_string(option)) + "\">" +
                    htmlEscape(text) + "</a>\n";
        }
    }
    if (shown == 0)
        body += "<div class=\"done\">This restaurant has not set up any options yet.</div>";
    return page(name.empty() ? "TablePing" : name, body);
}

std::string confirmationPage(const std::string& id, std::int64_t qr, const Profile& profile,
                             int option) {
    std::string body = "<h1>" + htmlEscape(field(profile, "name")) +
                       "</h1>\n<div class=\"done\" id=\"done\">"
                       "<p><b>Thank you!</b></p><p>Your request &ldquo;" +
                       htmlEscape(optionText(profile, option)) +
                       "&rdquo; has been sent.</p><p>Table " + std::to_string(qr) +
                       "</p></div>\n<a class=\"back\" href=\"" + htmlEscape(guestPath(id, qr)) +
                       "\">Back</a>";
    return page("Request sent", body);
}

std::string messagePage(const std::string& title, const std::string& text) {
    return page(title, "<h1>" + htmlEscape(title) + "</h1><div class=\"done\">" + htmlEscape(text) +
                           "</div>");
}

std::string a4SheetPage(const std::string& id, const Profile& profile,
                        const std::vector<std::int64_t>& numbers) {
    static constexpr const char* kSheetStyle = R"(
body{max-width:none;background:#fff;padding:0}
@page{size:A4;margin:10mm}
.toolbar{padding:10px;text-align:center}
.sheet{width:190mm;height:277mm;display:grid;grid-template-columns:repeat(3,1fr);
 grid-template-rows:repeat(3,1fr);gap:4mm;margin:0 auto 10mm;page-break-after:always;
 break-after:page}
.sheet:last-child{page-break-after:auto;break-after:auto}
.cell{display:flex;flex-direction:column;align-items:center;justify-content:center;
 border:1px dashed #bbb}
.cell img{max-width:58mm;max-height:80mm;image-rendering:pixelated}
.cell span{font-size:10pt;margin-top:2mm}
@media print{.toolbar{display:none}.sheet{margin:0}}
)";
    std::string name = field(profile, "name");
    std::string body = "<div class=\"toolbar\"><b>" + htmlEscape(name) + "</b> &mdash; " +
                       std::to_string(numbers.size()) +
                       " QR codes <button onclick=\"window.print()\" style=\"width:auto\">Print"
                       "</button></div>\n";
    if (numbers.empty()) {
        body += "<div class=\"done\">No QR codes yet: set the QR numbers in TablePing Desk.</div>";
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i % 9 == 0) body += "<section class=\"sheet\">\n";
        body += "<div class=\"cell\"><img alt=\"QR " + std::to_string(numbers[i]) + "\" src=\"" +
                htmlEscape(imagePath(id, numbers[i])) + "\"><span>QR " +
                std::to_string(numbers[i]) + "</span></div>\n";
        if (i % 9 == 8 || i + 1 == numbers.size()) body += "</section>\n";
    }
    return page("QR codes " + name, body, kSheetStyle);
}

std::string statLoginPage(const std::string& id, const std::string& problem) {
    std::string body = "<h1>Statistics</h1>\n";
    if (!problem.empty())
        body += "<p class=\"sub\" id=\"problem\">" + htmlEscape(problem) + "</p>\n";
    body += "<form method=\"post\" action=\"/stat.php\"><label for=\"id\">Company ID</label>"
            "<input id=\"id\" name=\"id\" value=\"" +
            htmlEscape(id) +
            "\" autocomplete=\"username\"><label for=\"password\">Password</label>"
            "<input id=\"password\" name=\"password\" type=\"password\" "
            "autocomplete=\"current-password\"><button type=\"submit\">Show</button></form>";
    return page("Statistics", body);
}

std::string statPage(const std::string& id, const Profile& profile,
                     const std::vector<EventCount>& counts) {
    std::string body = "<h1>" + htmlEscape(field(profile, "name")) + "</h1><p class=\"sub\">" +
                       "Guest calls of company " + htmlEscape(id) + "</p>\n";
    body += "<table id=\"stats\"><tr><th>Table</th>";
    for (int option = 1; option <= 6; ++option) {
        std::string text = optionText(profile, option);
        body += "<th>" + (text.empty() ? std::to_string(option) : htmlEscape(text)) + "</th>";
    }
    body += "<th>All</th></tr>\n";
    std::int64_t totals[7] = {};
    for (std::size_t i = 0; i < counts.size();) {
        std::int64_t qr = counts[i].qr;
        std::int64_t row[7] = {};
        for (; i < counts.size() && counts[i].qr == qr; ++i) {
            if (counts[i].option < 1 || counts[i].option > 6) continue;
            row[counts[i].option] += counts[i].count;
            row[0] += counts[i].count;
        }
        body += "<tr><td>" + std::to_string(qr) + "</td>";
        for (int option = 1; option <= 6; ++option)
            body += "<td>" + std::to_string(row[option]) + "</td>";
        body += "<td>" + std::to_string(row[0]) + "</td></tr>\n";
        for (int k = 0; k < 7; ++k)
            totals[k] += row[k];
    }
    body += "<tr><th>All</th>";
    for (int option = 1; option <= 6; ++option)
        body += "<th>" + std::to_string(totals[option]) + "</th>";
    body += "<th>" + std::to_string(totals[0]) + "</th></tr></table>";
    return page("Statistics", body);
}

} // namespace tpgservice
