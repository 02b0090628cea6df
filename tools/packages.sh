# Sourced by ./run-tests and ./fsdata: installs the Debian packages a build
# needs when they are missing (as root, with apt-get), else says what to do.

packages_for_preset() {
  case "$1" in
    native|asan|tsan) echo "cmake ninja-build g++ libicu-dev acl libgtest-dev shared-mime-info binutils-mingw-w64-x86-64 libsqlite3-dev sqlite3 python3" ;;
    win64) echo "cmake ninja-build g++ g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 libgtest-dev" ;;
    fuzz) echo "cmake ninja-build clang libclang-rt-14-dev libicu-dev" ;;
  esac
}

ensure_packages() {
  local wanted=() missing=() p
  for preset in "$@"; do wanted+=($(packages_for_preset "$preset")); done
  for p in $(printf '%s\n' "${wanted[@]}" | sort -u); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
    echo "missing packages: ${missing[*]} (install them with apt-get as root)" >&2
    return 1
  fi
  echo "installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null || return 1
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null || return 1
}
