// Keeps the site for use with no network: every file is cached when the worker installs, and
// each request goes to the network first and to the cache when the network fails.
"use strict";

var CACHE = "tavrimo-site";
var FILES = ["./", "index.html", "tavrimo_page.js", "inside_panel.js", "basis_plot.js",
             "scene_controls.js",
             "tavrimo.js", "tavrimo.wasm", "tavrimo.png", "tavrimo-256.png", "tavrimo.svg",
             "manifest.webmanifest"];

self.addEventListener("install", function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) { return cache.addAll(FILES); })
    .then(function () { return self.skipWaiting(); }));
});

self.addEventListener("activate", function (event) {
  event.waitUntil(self.clients.claim());
});

self.addEventListener("fetch", function (event) {
  var request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(fetch(request).then(function (response) {
    if (response.ok) {
      var copy = response.clone();
      caches.open(CACHE).then(function (cache) { cache.put(request, copy); });
    }
    return response;
  }, function () {
    return caches.match(request, { ignoreSearch: true }).then(function (cached) {
      return cached || Response.error();
    });
  }));
});
