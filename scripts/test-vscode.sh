#!/usr/bin/env bash
# Builds the VS Code extension in editors/vscode/ from its lock and packs it
# into a .vsix there. Needs Node.js and npm (installed from Debian when
# missing); the packing tool needs Node.js 20 or later and is skipped, with a
# note, on an older one.
set -euo pipefail
cd "$(dirname "$0")/../editors/vscode"

if ! command -v npm >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends nodejs npm
fi

npm ci --no-audit --no-fund
npm run compile
node_major=$(node -p 'process.versions.node.split(".")[0]')
if [ "$node_major" -lt 20 ]; then
  echo "Not packing the extension: @vscode/vsce needs Node.js 20, this is $(node --version)"
  exit 0
fi
rm -f ./*.vsix
npm run package </dev/null
ls ./*.vsix
