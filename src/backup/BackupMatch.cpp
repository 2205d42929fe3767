#include "backup/BackupMatch.h"

namespace BackupMatch {

QString modelText(const QString &modelToken)
{
    if (modelToken.startsWith(QLatin1String("Xarn")) && modelToken.size() > 4 && modelToken.at(4).isDigit())
        return QStringLiteral("Corvalen %1 (%2)").arg(modelToken.mid(4), modelToken);
    if (modelToken == QLatin1String("XarnUnknown"))
        return QStringLiteral("an unknown model (XarnUnknown)");
    return modelToken;
}

Check check(const BackupName &backup, const Panel &panel, const QString &purpose)
{
    Check result;
    // A backup of a panel whose model was not recognised cannot be matched
    // to anything, nor a panel not recognised to any backup.
    if (backup.model != panel.model) {
        result.verdict = Verdict::OtherModel;
        result.message = QStringLiteral("This backup was taken from a %1; the Corvalen connected is a %2.\r\n"
                                        "A backup of another model cannot be %3 on it. Nothing was changed.")
                             .arg(modelText(backup.model), modelText(panel.model), purpose);
        return result;
    }
    const QString here = BackupName::siteToken(panel.siteName);
    // Site names compare ignoring case, as the site book compares them.
    if (!backup.site.isEmpty() && !here.isEmpty() && backup.site.compare(here, Qt::CaseInsensitive) != 0) {
        result.verdict = Verdict::OtherSite;
        result.message = QStringLiteral("This backup was taken at another site (%1); the Corvalen connected is "
                                        "the site \"%2\".\r\nShould the other site's backup be %3 on \"%2\" all the "
                                        "same?")
                             .arg(backup.site, panel.siteName, purpose);
    }
    return result;
}

bool confirm(const BackupName &backup, const Panel &panel, UserPrompt &prompt, const QString &purpose)
{
    const Check result = check(backup, panel, purpose);
    switch (result.verdict) {
    case Verdict::Fits:
        return true;
    case Verdict::OtherModel:
        prompt.message(result.message, UserPrompt::Kind::Error);
        return false;
    case Verdict::OtherSite:
        break;
    }
    UserPrompt::Question question;
    question.text = result.message;
    question.kind = UserPrompt::Kind::Warning;
    question.defaultNo = true;
    return prompt.askQuestion(question);
}

} // namespace BackupMatch
