UPDATE `Component` SET `Condition` = 'DESKTOPSHORTCUT = "1"' WHERE `Component` = 'DesktopShortcut'
UPDATE `Component` SET `Condition` = 'RECORDSFOLDER' WHERE `Component` = 'RecordsFolderPolicy'
UPDATE `Component` SET `Condition` = 'CLASSSHEET = "0"' WHERE `Component` = 'ClassSheetPolicy'
UPDATE `Property` SET `Value` = 'CLASSSHEET;DESKTOPSHORTCUT;RECORDSFOLDER;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'
