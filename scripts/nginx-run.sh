#!/usr/bin/env bash
# Runs a command beside a private nginx, the update server of the Wine tests:
#   nginx-run.sh --name NAME -- COMMAND [ARGS...]
# nginx listens on 127.0.0.1 at a free port and serves a fresh, empty folder
# with autoindex on. The command finds the address in TARNELIX_UPDATE_URL
# and the folder, as a Windows path, in TARNELIX_UPDATE_DIR; it fills the
# folder itself. Below the root:
#   slow/             is sent at 16 KiB/s, for downloads that are cut off;
#   hostile/          answers every name it does not hold with hostile/ok.dll,
#                     as a server that lies would;
#   Dropped.<ext>     is listed, but its download ends with a closed
#                     connection, as when the server is stopped.
# nginx is ended by its own process id when the command ends, fails or is
# interrupted.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=${TARNELIX_WINE_ROOT:-$here/../build/wine}

name=""
while [ $# -gt 0 ]; do
  case "$1" in
    --name) name=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "nginx-run: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -n "$name" ] && [ $# -gt 0 ] || { echo "usage: nginx-run.sh --name N -- COMMAND ARGS" >&2; exit 2; }
command -v nginx >/dev/null || { echo "nginx-run: nginx is not installed (scripts/setup.sh)" >&2; exit 1; }

dir=$(realpath -m "$root/servers/$name")
nginx_pid="" command_pid=""
cleanup() {
  local rc=$?
  [ -n "$command_pid" ] && kill "$command_pid" 2>/dev/null
  if [ -n "$nginx_pid" ]; then
    kill "$nginx_pid" 2>/dev/null
    wait "$nginx_pid" 2>/dev/null
  fi
  exit $rc
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

rm -rf "$dir"
mkdir -p "$dir/served" "$dir/temp"

# Without root nginx cannot switch users; as root its workers would drop to
# an unprivileged user that may not read the build tree.
user_line=""
[ "$(id -u)" = 0 ] && user_line="user root;"
# nginx creates the temporary folders of every module it was built with,
# by default below /var/lib/nginx; keep them in our own folder.
temp_lines=""
for module in client_body proxy fastcgi uwsgi scgi; do
  nginx -V 2>&1 | grep -q -- "--without-http_${module}_module" && continue
  temp_lines+="${module}_temp_path $dir/temp/$module; "
done

start_nginx() {
  local port=$1
  cat >"$dir/nginx.conf" <<CONF
$user_line
worker_processes 1;
daemon off;
pid $dir/nginx.pid;
error_log $dir/error.log;
events { worker_connections 64; }
http {
  access_log off;
  $temp_lines
  server {
    listen 127.0.0.1:$port;
    root $dir/served;
    autoindex on;
    location /slow/ { limit_rate 16k; }
    location /hostile/ { try_files \$uri \$uri/ /hostile/ok.dll; }
    location ~ /Dropped\.[^/]+\$ { return 444; }
  }
}
CONF
  rm -f "$dir/nginx.pid"
  nginx -e "$dir/error.log" -p "$dir" -c "$dir/nginx.conf" &
  nginx_pid=$!
  # The pid file appears once the port is bound.
  local i
  for i in $(seq 1 100); do
    [ -s "$dir/nginx.pid" ] && return 0
    kill -0 "$nginx_pid" 2>/dev/null || break
    sleep 0.05
  done
  kill "$nginx_pid" 2>/dev/null
  wait "$nginx_pid" 2>/dev/null
  nginx_pid=""
  return 1
}

port=""
for attempt in 1 2 3 4 5 6 7 8; do
  candidate=$((20000 + RANDOM % 30000))
  if start_nginx "$candidate"; then port=$candidate; break; fi
done
[ -n "$port" ] || { echo "nginx-run: nginx did not start:" >&2; cat "$dir/error.log" >&2; exit 1; }

export TARNELIX_UPDATE_URL="http://127.0.0.1:$port/"
export TARNELIX_UPDATE_DIR="Z:${dir//\//\\}\\served\\"
# WinINet under Wine would send loopback requests to a proxy named here.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
"$@" &
command_pid=$!
wait "$command_pid"
rc=$?
command_pid=""
exit $rc
