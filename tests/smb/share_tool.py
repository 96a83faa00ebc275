#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds folders on a test share through SMB, as an administrator would from a client.
#
#   share_tool.py SERVER SHARE DOMAIN USER   (the password is the first line of standard input)
#
# Then one command a line on standard input:
#   mkdir PATH          a folder, with what its parent passes down
#   set PATH SDDL       the folder's descriptor; "D:PAI" and "S:PAI" keep the AI mark
#   rmdir PATH
# PATH is relative to the share's root, "/" between names; "." is the root. Exits 1 at the first failure, with
# the command and the server's reason on standard error.

import sys

from samba import credentials, param
from samba.dcerpc import security
from samba.samba3 import libsmb_samba_internal as libsmb
from samba.samba3 import param as s3param

server, share, domain, user = sys.argv[1:5]
password = sys.stdin.readline().rstrip("\n")
lp = param.LoadParm()
lp.load("/dev/null")
s3param.get_context().load("/dev/null")
creds = credentials.Credentials()
creds.guess(lp)
creds.set_kerberos_state(credentials.DONT_USE_KERBEROS)
creds.set_domain(domain)
creds.set_username(user)
creds.set_password(password)
conn = libsmb.Conn(server, share, lp, creds)

SECINFO_ALL = 0xF
# The requests that carry an auto-inherited mark have to ask for it.
DACL_AUTO_INHERIT_REQ = 0x0100
SACL_AUTO_INHERIT_REQ = 0x0200
DACL_AUTO_INHERITED = 0x0400
SACL_AUTO_INHERITED = 0x0800


def smb_path(path):
    return "" if path == "." else path.replace("/", "\\")


for line in sys.stdin:
    line = line.rstrip("\n")
    if not line:
        continue
    command, _, rest = line.partition(" ")
    try:
        if command == "mkdir":
            conn.mkdir(smb_path(rest))
        elif command == "rmdir":
            conn.rmdir(smb_path(rest))
        elif command == "set":
            path, _, sddl = rest.partition(" ")
            domain_sid = security.dom_sid("S-1-5-21-1111111111-2222222222-3333333333")
            sd = security.descriptor.from_sddl(sddl, domain_sid)
            if sd.type & DACL_AUTO_INHERITED:
                sd.type |= DACL_AUTO_INHERIT_REQ
            if sd.type & SACL_AUTO_INHERITED:
                sd.type |= SACL_AUTO_INHERIT_REQ
            secinfo = SECINFO_ALL if sd.sacl is not None else SECINFO_ALL & ~0x8
            conn.set_acl(smb_path(path), sd, secinfo)
        elif command == "show":
            print(conn.get_acl(smb_path(rest), SECINFO_ALL).as_sddl())
        else:
            raise ValueError("unknown command")
    except Exception as e:
        sys.stderr.write("%s: %s\n" % (line, e))
        sys.exit(1)
