#!/usr/bin/python3
"""Writes into an MSI made by wixl what wixl makes anew at every run, so that
two builds of the same files give the same bytes: the package code (the
summary's revision number), a name-based UUID (version 5) of NAME in the
namespace NAMESPACE, and the times it was created and last saved, both
SOURCE_DATE_EPOCH. Uses Debian's Python, for libmsi's GObject bindings.

    scripts/msi-summary.py MSI NAMESPACE NAME
"""
import os
import sys
import uuid

import gi

gi.require_version('Libmsi', '1.0')
from gi.repository import Libmsi  # noqa: E402

msi, namespace, name = sys.argv[1:]
package_code = '{%s}' % str(uuid.uuid5(uuid.UUID(namespace), name)).upper()
# A FILETIME counts 100-nanosecond steps from 1601-01-01, UTC.
filetime = (int(os.environ['SOURCE_DATE_EPOCH']) + 11644473600) * 10**7

database = Libmsi.Database.new(msi, Libmsi.DbFlags.TRANSACT, None)
summary = Libmsi.SummaryInfo.new(database, 3)
summary.set_string(Libmsi.Property.UUID, package_code)
summary.set_filetime(Libmsi.Property.CREATED_TM, filetime)
summary.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
summary.persist()
database.commit()
