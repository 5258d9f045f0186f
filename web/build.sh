#!/usr/bin/env bash
# Builds the browser edition into build-web/ (or the folder given): the validator compiled to
# WebAssembly with Emscripten (Debian: apt-get install emscripten), and the page with everything it
# needs. Open build-web/index.html as a file, or serve the folder: python3 -m http.server -d build-web
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build-web}" && cd "${1:-$root/build-web}" && pwd)

if ! command -v emcmake >/dev/null; then
  echo "web/build.sh: Emscripten is missing (Debian: apt-get install emscripten)" >&2
  exit 2
fi
# Debian's Emscripten runs its JavaScript optimiser with the system's Node.js, which must find the
# packaged acorn module.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

emcmake cmake -S "$root" -B "$out/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVON_TESTS=OFF \
  -DCMAKE_PROJECT_tavon_INCLUDE="$root/cmake/host-tools.cmake" > "$out/cmake-configure.log" ||
  { cat "$out/cmake-configure.log" >&2; exit 1; }
cmake --build "$out/cmake" --target belun_engine

version=$(sed -n 's/^project(tavon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
# The catalogue of codes and fields, which the build writes from docs/catalogue.txt; the page links
# codes and fields to it.
katalog=""
rm -f "$out/katalog.html"
if [ -f "$out/cmake/doc/katalog.html" ]; then
  katalog="$out/cmake/doc/katalog.html"
  cp "$katalog" "$out/katalog.html"
fi
node "$root/web/tools/bundle.js" "$out/bundle.js" "$out/cmake/web/belun-engine.js" "$out/cmake/web/belun-engine.wasm" \
  "$root/web/worker.js" "$root/examples/duv-chyby.xml" "$version" ${katalog:+"$out/katalog.html"}
cp "$root/web/index.html" "$root/web/style.css" "$root/web/app.js" "$out/"
echo "web/build.sh: the page is $out/index.html"
