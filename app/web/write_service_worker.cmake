# Writes SITE/service_worker.js from TEMPLATE: the site's file NAMES, and a cache name made
# from their contents.
set(contents "")
set(list "")
foreach(name ${NAMES})
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND contents "${name} ${hash}\n")
  string(APPEND list "  \"${name}\",\n")
endforeach()
string(SHA256 build "${contents}")
string(SUBSTRING "${build}" 0 16 build)
set(SITE_FILES "${list}")
set(CACHE_NAME "tavrimo-${build}")
configure_file(${TEMPLATE} ${SITE}/service_worker.js @ONLY)
