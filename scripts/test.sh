#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --workflow --preset default
# The Ansible role's example playbook against two hosts on this machine (deploy/ansible).
bash scripts/test-ansible.sh
