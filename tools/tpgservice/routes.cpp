#include "routes.h"

#include "html_pages.h"
#include "profile_fields.h"
#include "qr_image.h"
#include "qr_list.h"
#include "record_line.h"
#include "request_params.h"
#include "web_text.h"

#include <httplib.h>

#include <iostream>

namespace tpgservice {

namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";

using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

// A bad parameter is the caller's fault and gets 400 with the reason; the
// pages answer in HTML, the machine endpoints in plain text.
Handler guarded(Handler handler, bool html) {
    return
        [handler = std::move(handler), html](const httplib::Request& req, httplib::Response& res) {
            try {
                handler(req, res);
            } catch (const BadRequest& e) {
                res.status = 400;
                if (html) {
                    res.set_content(messagePage("Invalid request", e.what()), kHtml);
                } else {
                    res.set_content(std::string("bad request: ") + e.what() + "\n", kText);
                }
            }
        };
}

void forbidden(httplib::Response& res) {
    res.status = 403;
    res.set_content("forbidden: wrong or missing token\n", kText);
}

void noStore(httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
}

std::string field(const Profile& profile, const std::string& key) {
    auto it = profile.find(key);
    return it == profile.end() ? std::string() : it->second;
}

// A size or colour code from the request when it is one, else the profile's,
// else the middle size.
int codeOf(const httplib::Request& req, const char* key, const Profile& profile,
           const char* profileKey, int fallback) {
    if (int code = sizeCode(req.get_param_value(key))) return code;
    if (int code = sizeCode(field(profile, profileKey))) return code;
    return fallback;
}

std::vector<std::uint8_t> makeImage(const RouteContext& ctx, const std::string& id, std::int64_t qr,
                                    const Profile& profile, const httplib::Request* req) {
    static const httplib::Request kNoParams;
    const httplib::Request& r = req ? *req : kNoParams;
    QrImageSpec spec;
    spec.url = ctx.base + guestPath(id, qr);
    spec.name = field(profile, "name");
    spec.text1u = field(profile, "text1u");
    spec.text2u = field(profile, "text2u");
    spec.text1d = field(profile, "text1d");
    spec.text2d = field(profile, "text2d");
    spec.color = codeOf(r, "color", profile, "qrcolor", 1);
    spec.nameSize = codeOf(r, "namesize", profile, "size1", 2);
    spec.text1uSize = codeOf(r, "text1usize", profile, "size2", 2);
    spec.text2uSize = codeOf(r, "text2usize", profile, "size3", 2);
    spec.text1dSize = codeOf(r, "text1dsize", profile, "size4", 2);
    spec.text2dSize = codeOf(r, "text2dsize", profile, "size5", 2);
    auto png = renderQrImage(spec);
    ctx.storage.putImage(id, qr, png);
    return png;
}

void serveImage(RouteContext& ctx, const std::string& id, const std::string& number,
                httplib::Response& res) {
    std::int64_t qr = -1;
    if (id.size() <= kMaxIdLength && number.size() <= 6) qr = std::stoll(number);
    auto profile = qr >= 0 ? ctx.storage.company(id) : std::nullopt;
    if (!profile) {
        res.status = 404;
        res.set_content("no such QR image\n", kText);
        return;
    }
    // A code on the A4 sheet that was never generated is drawn on first look,
    // with the company's saved sizes and colour.
    auto png = ctx.storage.image(id, qr);
    if (!png) png = makeImage(ctx, id, qr, *profile, nullptr);
    noStore(res);
    res.set_content(std::string(png->begin(), png->end()), "image/png");
}

void registerDeskEndpoints(httplib::Server& server, RouteContext& ctx) {
    server.Get("/readsqlcompleted.php",
               guarded(
                   [&ctx](const httplib::Request& req, httplib::Response& res) {
                       auto profile = ctx.storage.company(companyId(req));
                       bool complete = profile && field(*profile, "completed") == "1";
                       noStore(res);
                       res.set_content(std::string("{\"completed\":") + (complete ? "1" : "0") +
                                           "}",
                                       "application/json");
                   },
                   false));

    server.Get("/readsqlx.php",
               guarded(
                   [&ctx](const httplib::Request& req, httplib::Response& res) {
                       if (!hasToken(req)) return forbidden(res);
                       std::string id = companyId(req);
                       auto profile = ctx.storage.company(id);
                       noStore(res);
                       // The record always holds every field: the desk reads by position,
                       // so a field left out would shift all that follow it.
                       res.set_content(profile ? recordLine(id, *profile) : std::string(), kText);
                   },
                   false));

    server.Post("/writesql.php", guarded(
                                     [&ctx](const httplib::Request& req, httplib::Response& res) {
                                         if (!hasToken(req)) return forbidden(res);
                                         std::string id = companyId(req);
                                         std::vector<std::pair<std::string, std::string>> fields;
                                         for (std::string_view key : storedKeys()) {
                                             std::string k(key);
                                             if (req.has_param(k))
                                                 fields.emplace_back(k, textParam(req, k));
                                         }
                                         ctx.storage.writeCompany(id, fields);
                                         res.set_content("OK\n", kText);
                                     },
                                     false));

    server.Get("/read_events.php",
               guarded(
                   [&ctx](const httplib::Request& req, httplib::Response& res) {
                       std::string body;
                       for (const auto& event : ctx.storage.takePendingEvents(companyId(req))) {
                           body +=
                               std::to_string(event.qr) + "|" + std::to_string(event.option) + "\n";
                       }
                       noStore(res);
                       res.set_content(body, kText);
                   },
                   false));

    server.Get("/clear_events.php",
               guarded(
                   [&ctx](const httplib::Request& req, httplib::Response& res) {
                       int cleared = ctx.storage.clearPendingEvents(companyId(req));
                       res.set_content("OK " + std::to_string(cleared) + "\n", kText);
                   },
                   false));

    server.Get("/genqr.php", guarded(
                                 [&ctx](const httplib::Request& req, httplib::Response& res) {
                                     std::string id = companyId(req);
                                     std::int64_t qr = qrNumber(req);
                                     auto profile = ctx.storage.company(id);
                                     if (!profile) {
                                         res.status = 404;
                                         res.set_content("unknown company\n", kText);
                                         return;
                                     }
                                     makeImage(ctx, id, qr, *profile, &req);
                                     res.set_content(ctx.base + imagePath(id, qr) + "\n", kText);
                                 },
                                 false));
}

void registerPages(httplib::Server& server, RouteContext& ctx) {
    server.Get(R"(/customers/([^/]+)/qr(\d+)\.png)",
               [&ctx](const httplib::Request& req, httplib::Response& res) {
                   serveImage(ctx, req.matches[1], req.matches[2], res);
               });
    // The desk tells its user the images are at base/ID/qrN.png; serve them there too.
    server.Get(R"(/([^/]+)/qr(\d+)\.png)",
               [&ctx](const httplib::Request& req, httplib::Response& res) {
                   serveImage(ctx, req.matches[1], req.matches[2], res);
               });

    server.Get(
        "/options.php",
        guarded(
            [&ctx](const httplib::Request& req, httplib::Response& res) {
                std::string id = companyId(req);
                std::int64_t qr = qrNumber(req);
                auto profile = ctx.storage.company(id);
                noStore(res);
                if (!profile) {
                    res.status = 404;
                    res.set_content(
                        messagePage("Unknown restaurant",
                                    "This QR code belongs to no restaurant known here."),
                        kHtml);
                    return;
                }
                if (!req.has_param("option")) {
                    res.set_content(guestPage(id, qr, *profile), kHtml);
                    return;
                }
                int option = optionNumber(req);
                if (field(*profile, "text" + std::to_string(option)).empty()) {
                    throw BadRequest("this option is not offered here");
                }
                std::string link =
                    option >= 4 ? field(*profile, "text" + std::to_string(option) + "www") : "";
                if (!link.empty()) {
                    // A link option is no call for the staff: just go there.
                    res.set_redirect(safeLink(link));
                    return;
                }
                if (!ctx.storage.addEvent(id, qr, option)) {
                    res.status = 503;
                    res.set_content(
                        messagePage("Please ask the staff",
                                    "Too many calls are waiting; your request could not be sent."),
                        kHtml);
                    return;
                }
                res.set_content(confirmationPage(id, qr, *profile, option), kHtml);
            },
            true));

    server.Get("/gen_qr_a4_9.php",
               guarded(
                   [&ctx](const httplib::Request& req, httplib::Response& res) {
                       std::string id = companyId(req);
                       auto profile = ctx.storage.company(id);
                       noStore(res);
                       if (!profile) {
                           res.status = 404;
                           res.set_content(messagePage("Unknown company",
                                                       "No company with this ID is registered."),
                                           kHtml);
                           return;
                       }
                       auto numbers = parseQrList(field(*profile, "specialpath"));
                       if (!numbers || numbers->empty()) numbers = ctx.storage.imageNumbers(id);
                       res.set_content(a4SheetPage(id, *profile, *numbers), kHtml);
                   },
                   true));

    server.Get("/stat.php", guarded(
                                [](const httplib::Request& req, httplib::Response& res) {
                                    std::string id = req.get_param_value("id");
                                    if (id.size() > kMaxIdLength) id.clear();
                                    res.set_content(statLoginPage(id, ""), kHtml);
                                },
                                true));

    server.Post("/stat.php",
                guarded(
                    [&ctx](const httplib::Request& req, httplib::Response& res) {
                        std::string id = companyId(req);
                        std::string password = textParam(req, "password");
                        auto profile = ctx.storage.company(id);
                        noStore(res);
                        std::string expected = profile ? field(*profile, "textwww") : std::string();
                        // No password set means no statistics, not statistics for everybody.
                        if (expected.empty() || password != expected) {
                            res.status = 403;
                            res.set_content(statLoginPage(id, "Wrong company ID or password."),
                                            kHtml);
                            return;
                        }
                        res.set_content(statPage(id, *profile, ctx.storage.eventCounts(id)), kHtml);
                    },
                    true));

    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(messagePage("TablePing", "Local TablePing service."), kHtml);
    });
}

} // namespace

void registerRoutes(httplib::Server& server, RouteContext& context) {
    registerDeskEndpoints(server, context);
    registerPages(server, context);
    server.set_exception_handler([](const httplib::Request& req, httplib::Response& res,
                                    std::exception_ptr ep) {
        std::string what = "unknown error";
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        std::cerr << "tpgservice: " << req.method << " " << req.path << ": " << what << std::endl;
        res.status = 500;
        res.set_content("internal error\n", kText);
    });
}

} // namespace tpgservice
