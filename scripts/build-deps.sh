#!/usr/bin/env bash
# Fetches the Debian source packages of Lua 5.1, Expat and SQLite and cross-builds them once
# into the dependency cache ($PINVALE_DEPS, outside the source tree). Idempotent: each library
# is rebuilt only when its stamp file is missing.
set -euo pipefail

DEPS=${PINVALE_DEPS:-${PINVALE_CACHE:-$HOME/.cache/pinvale}/deps}
SRC=$DEPS/src
OUT=$DEPS/i686
CC=i686-w64-mingw32-gcc-posix
AR=i686-w64-mingw32-ar
DLLTOOL=i686-w64-mingw32-dlltool
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
mkdir -p "$SRC" "$OUT/bin" "$OUT/lib" "$OUT/include"

# A deb-src entry derived from the machine's own apt source file, so no host name is written here.
ensure_deb_src() {
  if apt-cache showsrc lua5.1 2>/dev/null | grep -q '^Package: lua5.1'; then return; fi
  local from=/etc/apt/sources.list.d/debian.sources
  if [ -f "$from" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$from" | $SUDO tee /etc/apt/sources.list.d/pinvale-src.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/pinvale-src.list >/dev/null
  fi
  # An index that fails to load (a mirror mid-sync) does not hide the source indexes that did.
  $SUDO apt-get update -qq || echo "build-deps: some package indexes failed to load; going on"
}

# Unpacks source package $1 into $SRC/$1; tries each published version, newest first, because a
# security archive may list a version whose files it no longer serves.
fetch_source() {
  local pkg=$1 dir=$SRC/$1
  [ -f "$dir/.unpacked" ] && return
  ensure_deb_src
  local work; work=$(mktemp -d "$SRC/fetch-$pkg.XXXX")
  local ok=0
  ( cd "$work" && apt-get source --download-only "$pkg" >/dev/null 2>&1 ) && ok=1
  if [ $ok = 0 ]; then
    for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -rV); do
      rm -f "$work"/*
      if ( cd "$work" && apt-get source --download-only "$pkg=$v" >/dev/null 2>&1 ); then ok=1; break; fi
    done
  fi
  [ $ok = 1 ] || { echo "build-deps: cannot fetch source of $pkg" >&2; exit 1; }
  ( cd "$work" && dpkg-source -x ./*.dsc unpacked >/dev/null 2>&1 )
  rm -rf "$dir"; mv "$work/unpacked" "$dir"; rm -rf "$work"
  touch "$dir/.unpacked"
}

build_lua() {
  [ -f "$OUT/.lua" ] && return
  fetch_source lua5.1
  local s=$SRC/lua5.1/src b=$DEPS/build-lua
  rm -rf "$b"; mkdir -p "$b"
  local objs=()
  for f in "$s"/*.c; do
    case $(basename "$f") in lua.c|luac.c|print.c) continue;; esac
    local o="$b/$(basename "${f%.c}").o"
    $CC -O2 -DLUA_BUILD_AS_DLL -c "$f" -o "$o"
    objs+=("$o")
  done
  $CC -shared -o "$OUT/bin/lua51.dll" "${objs[@]}" -Wl,--out-implib,"$OUT/lib/liblua51.dll.a" -static-libgcc
  cp "$s"/lua.h "$s"/luaconf.h "$s"/lualib.h "$s"/lauxlib.h "$OUT/include/"
  [ -f "$s/../etc/lua.hpp" ] && cp "$s/../etc/lua.hpp" "$OUT/include/" || cp "$s/lua.hpp" "$OUT/include/"
  rm -rf "$b"; touch "$OUT/.lua"
}

build_expat() {
  [ -f "$OUT/.expat" ] && return
  fetch_source expat
  local s=$SRC/expat; [ -d "$s/expat/lib" ] && s=$s/expat
  local b=$DEPS/build-expat
  rm -rf "$b"; mkdir -p "$b"
  cat > "$b/expat_config.h" <<'CFG'
#define BYTEORDER 1234
#define HAVE_STDINT_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_MEMMOVE 1
#define XML_CONTEXT_BYTES 1024
#define XML_DTD 1
#define XML_NS 1
#define XML_GE 1
CFG
  for f in xmlparse xmlrole xmltok; do
    $CC -O2 -I"$b" -I"$s/lib" -DHAVE_EXPAT_CONFIG_H -DXML_BUILDING_EXPAT -c "$s/lib/$f.c" -o "$b/$f.o"
  done
  # XML_ATTR_INFO is off, DTD support is on.
  sed -e 's/@_EXPAT_COMMENT_ATTR_INFO@/;/' -e 's/@_EXPAT_COMMENT_DTD@//' -e 's/@LIBRARY@//' \
    "$s/lib/libexpat.def.cmake" > "$b/libexpat.def"
  $CC -shared -o "$OUT/bin/libexpat.dll" "$b"/xmlparse.o "$b"/xmlrole.o "$b"/xmltok.o "$b/libexpat.def" \
    -Wl,--out-implib,"$OUT/lib/libexpat.dll.a" -static-libgcc
  cp "$s/lib/expat.h" "$s/lib/expat_external.h" "$OUT/include/"
  rm -rf "$b"; touch "$OUT/.expat"
}

build_sqlite() {
  [ -f "$OUT/.sqlite" ] && return
  fetch_source sqlite3
  local s=$SRC/sqlite3 b=$DEPS/build-sqlite
  rm -rf "$b"; mkdir -p "$b"
  ( cd "$b" && "$s/configure" >/dev/null && make sqlite3.c >/dev/null )
  $CC -O2 -c "$b/sqlite3.c" -o "$b/sqlite3.o"
  rm -f "$OUT/lib/libsqlite3.a"
  $AR rcs "$OUT/lib/libsqlite3.a" "$b/sqlite3.o"
  cp "$b/sqlite3.h" "$OUT/include/"
  # The host also gets the amalgamation, for native tools and for reading test databases.
  mkdir -p "$DEPS/host"; cp "$b/sqlite3.c" "$b/sqlite3.h" "$DEPS/host/"
  rm -rf "$b"; touch "$OUT/.sqlite"
}

build_lua
build_expat
build_sqlite
echo "build-deps: libraries ready in $OUT"
