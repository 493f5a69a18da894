// Serves the catalogue of site/ on 127.0.0.1: web_example PORT (0 for any
// free port). Each file goes out with its content type and ETag; a request
// that already holds the ETag gets 304, an unknown path 404, and "/" is
// index.html.
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "site.h"

void Serve(const httplib::Request& request, httplib::Response& response) {
  const std::string path = request.path == "/" ? "index.html" : request.path.substr(1);
  const Data::site_entry* entry = Data::site_find(path);
  if (!entry) {
    response.status = 404;
    response.set_content("Not found\n", "text/plain; charset=utf-8");
    return;
  }
  const std::string etag(entry->etag);
  response.set_header("ETag", etag);
  // Browsers then refuse a script or a stylesheet sent as another type.
  response.set_header("X-Content-Type-Options", "nosniff");
  if (request.get_header_value("If-None-Match").find(etag) != std::string::npos) {
    response.status = 304;
    return;
  }
  response.set_content(reinterpret_cast<const char*>(entry->data), entry->size, std::string(entry->content_type));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: web_example PORT (0 for any free port)\n");
    return 2;
  }
  httplib::Server server;
  server.Get(".*", Serve);
  int port = std::atoi(argv[1]);
  if (port == 0)
    port = server.bind_to_any_port("127.0.0.1");
  else if (!server.bind_to_port("127.0.0.1", port))
    port = -1;
  if (port < 0) {
    std::fprintf(stderr, "can't listen on 127.0.0.1:%s\n", argv[1]);
    return 1;
  }
  std::printf("listening on 127.0.0.1:%d\n", port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
