// Reading and writing the zip container with libzip. Writing goes to a temporary file in the target's
// folder (so the final rename stays on one file system) and is renamed over the target only after
// libzip has closed the archive without error.
#include "xlsx/Package.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <memory>

#include "context/Errors.h"

namespace tarno::xlsx {
namespace {
constexpr const char* kContentTypesPart = "[Content_Types].xml";

QString ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  const QString text = QString::fromUtf8(zip_error_strerror(&error));
  zip_error_fini(&error);
  return text;
}

struct ZipCloser {
  void operator()(zip_t* zip) const {
    if (zip) zip_discard(zip);
  }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

// libzip deflates at its best (and slowest) level unless told otherwise. Level 6, zlib's usual
// default, gives nearly the same size for worksheet XML at a third of the time (bench_template_fill).
constexpr zip_uint32_t kDeflateLevel = 6;

void SetCompression(zip_t* zip, zip_int64_t index) {
  zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, kDeflateLevel);
}
}  // namespace

Package Package::Read(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    throw OutputError(
        QStringLiteral("The workbook file %1 does not exist.").arg(QDir::toNativeSeparators(path)));
  }
  int errorCode = 0;
  ZipHandle zip(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &errorCode));
  if (!zip) {
    throw OutputError(QStringLiteral("The file %1 is not a workbook that can be read (%2).")
                          .arg(QDir::toNativeSeparators(path), ZipErrorText(errorCode)));
  }
  Package package;
  bool hasTypes = false;
  const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0) continue;
    const QString name = QString::fromUtf8(stat.name);
    if (name.endsWith(u'/')) continue;  // folder entries carry nothing
    QByteArray data(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    zip_file_t* file = zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(i), 0);
    const zip_int64_t read = file ? zip_fread(file, data.data(), stat.size) : -1;
    if (file) zip_fclose(file);
    if (read != static_cast<zip_int64_t>(stat.size)) {
      throw OutputError(QStringLiteral("The part %1 of the workbook %2 cannot be read; the file is damaged.")
                            .arg(name, QDir::toNativeSeparators(path)));
    }
    if (name == QLatin1String(kContentTypesPart)) {
      package.m_types = ContentTypes(data);
      hasTypes = true;
    } else {
      package.m_parts.append({name, data, QString()});
    }
  }
  if (!hasTypes) {
    throw OutputError(QStringLiteral("The file %1 is not a workbook: it has no content type table.")
                          .arg(QDir::toNativeSeparators(path)));
  }
  return package;
}

int Package::IndexOf(const QString& partName) const {
  for (int i = 0; i < m_parts.size(); ++i) {
    if (m_parts[i].name.compare(partName, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QStringList Package::PartNames() const {
  QStringList names;
  for (const Part& part : m_parts) names.append(part.name);
  return names;
}

bool Package::Contains(const QString& partName) const {
  return IndexOf(partName) >= 0;
}

QByteArray Package::Data(const QString& partName) const {
  const int i = IndexOf(partName);
  if (i < 0) throw OutputError(QStringLiteral("The workbook has no part %1.").arg(partName));
  if (!m_parts[i].filePath.isEmpty()) {
    QFile file(m_parts[i].filePath);
    if (!file.open(QIODevice::ReadOnly)) {
      throw OutputError(QStringLiteral("The file %1 that holds the workbook part %2 cannot be read.")
                            .arg(m_parts[i].filePath, partName));
    }
    return file.readAll();
  }
  return m_parts[i].data;
}

void Package::SetData(const QString& partName, const QByteArray& data, const QString& mediaType) {
  const int i = IndexOf(partName);
  if (i >= 0) {
    m_parts[i].data = data;
    m_parts[i].filePath.clear();
  } else {
    m_parts.append({partName, data, QString()});
  }
  if (!mediaType.isEmpty()) m_types.SetOverride(partName, mediaType);
}

void Package::SetFile(const QString& partName, const QString& filePath) {
  const int i = IndexOf(partName);
  if (i >= 0) {
    m_parts[i].data.clear();
    m_parts[i].filePath = filePath;
  } else {
    m_parts.append({partName, QByteArray(), filePath});
  }
}

void Package::Remove(const QString& partName) {
  const int i = IndexOf(partName);
  if (i >= 0) m_parts.removeAt(i);
  const int r = IndexOf(Relationships::PartNameFor(partName));
  if (r >= 0) m_parts.removeAt(r);
  m_types.RemoveOverride(partName);
}

Relationships Package::RelationshipsOf(const QString& sourcePart) const {
  const QString relsName = Relationships::PartNameFor(sourcePart);
  if (!Contains(relsName)) return {};
  return Relationships(Data(relsName), relsName);
}

void Package::SetRelationshipsOf(const QString& sourcePart, const Relationships& rels) {
  const QString relsName = Relationships::PartNameFor(sourcePart);
  if (rels.IsEmpty()) {
    const int i = IndexOf(relsName);
    if (i >= 0) m_parts.removeAt(i);
  } else {
    SetData(relsName, rels.ToXml());
  }
}

void Package::Write(const QString& path) const {
  const QString nativePath = QDir::toNativeSeparators(path);
  const QFileInfo target(path);
  if (!target.absoluteDir().exists()) {
    throw OutputError(
        QStringLiteral("The workbook %1 cannot be saved: its folder does not exist.").arg(nativePath));
  }
  // A unique name beside the target; the empty file is replaced by the archive libzip writes.
  QTemporaryFile temporary(target.absoluteFilePath() + QStringLiteral(".XXXXXX.tmp"));
  temporary.setAutoRemove(true);
  if (!temporary.open()) {
    throw OutputError(QStringLiteral("The workbook %1 cannot be saved: its folder is not writable (%2).")
                          .arg(nativePath, temporary.errorString()));
  }
  const QString temporaryPath = temporary.fileName();
  temporary.close();

  int errorCode = 0;
  ZipHandle zip(
      zip_open(QFile::encodeName(temporaryPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &errorCode));
  if (!zip) {
    throw OutputError(
        QStringLiteral("The workbook %1 cannot be saved (%2).").arg(nativePath, ZipErrorText(errorCode)));
  }
  // libzip reads the buffers when the archive is closed, so they must live until then.
  std::vector<QByteArray> keep;
  keep.reserve(static_cast<size_t>(m_parts.size()) + 1);
  auto fail = [&](const QString& what) {
    throw OutputError(QStringLiteral("The workbook %1 cannot be saved: %2 (%3).")
                          .arg(nativePath, what, QString::fromUtf8(zip_strerror(zip.get()))));
  };
  auto addBuffer = [&](const QString& name, const QByteArray& data) {
    keep.push_back(data);
    zip_source_t* source = zip_source_buffer(zip.get(), keep.back().constData(), keep.back().size(), 0);
    if (!source) fail(QStringLiteral("no memory for the part %1").arg(name));
    const zip_int64_t index = zip_file_add(zip.get(), name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail(QStringLiteral("the part %1 cannot be added").arg(name));
    }
    SetCompression(zip.get(), index);
  };
  auto addFile = [&](const QString& name, const QString& filePath) {
    zip_source_t* source = zip_source_file(zip.get(), QFile::encodeName(filePath).constData(), 0, -1);
    if (!source) fail(QStringLiteral("the file %1 for the part %2 cannot be read").arg(filePath, name));
    const zip_int64_t index = zip_file_add(zip.get(), name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      fail(QStringLiteral("the part %1 cannot be added").arg(name));
    }
    SetCompression(zip.get(), index);
  };

  addBuffer(QString::fromLatin1(kContentTypesPart), m_types.ToXml());
  const int packageRels = IndexOf(QStringLiteral("_rels/.rels"));
  if (packageRels >= 0) addBuffer(m_parts[packageRels].name, m_parts[packageRels].data);
  for (int i = 0; i < m_parts.size(); ++i) {
    if (i == packageRels) continue;
    if (m_parts[i].filePath.isEmpty()) {
      addBuffer(m_parts[i].name, m_parts[i].data);
    } else {
      addFile(m_parts[i].name, m_parts[i].filePath);
    }
  }
  zip_t* raw = zip.release();
  if (zip_close(raw) != 0) {
    const QString reason = QString::fromUtf8(zip_strerror(raw));
    zip_discard(raw);
    QFile::remove(temporaryPath);
    throw OutputError(QStringLiteral("The workbook %1 cannot be saved (%2).").arg(nativePath, reason));
  }
  // A temporary file is private to its owner; the workbook gets the old file's permissions, or the
  // usual ones of a new document.
  const QFileDevice::Permissions permissions =
      target.exists() ? QFile(target.absoluteFilePath()).permissions()
                      : (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                         QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  QFile::setPermissions(temporaryPath, permissions);
  // rename(2) replaces the target in one step: readers see the old file or the new one, never a part.
  if (std::rename(QFile::encodeName(temporaryPath).constData(),
                  QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
    QFile::remove(temporaryPath);
    throw OutputError(QStringLiteral("The workbook %1 cannot be saved: it cannot replace the file there "
                                     "(is it open in another program or read-only?).")
                          .arg(nativePath));
  }
}

}  // namespace tarno::xlsx
